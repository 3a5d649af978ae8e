// Test entry for suites that drive widgets: one QApplication for the run.

#include "ui/ChineseTranslations.h"
#include "ui/KeyRules.h"
#include "ui/ModalWindows.h"

#include <QApplication>

#include "support/QuietOffscreen.h"

#include <gtest/gtest.h>


int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallomer"));
    ui::installChineseTranslations();
    ui::installKeyRules();
    ui::installModalWindowRules();
    testing_support::quietOffscreenWarnings();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
