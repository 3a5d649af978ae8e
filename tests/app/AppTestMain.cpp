// The shell's tests run under the program's own application object, so that
// uncaught engine errors reach the error box as they do in the program.

#include "app/Application.h"
#include "ui/ChineseTranslations.h"
#include "ui/KeyRules.h"
#include "ui/ModalWindows.h"
#include "ui/Fonts.h"

#include "support/QuietOffscreen.h"

#include <gtest/gtest.h>


int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    app::Application application(argc, argv);
    ui::installFontSubstitutions();
    application.setFont(ui::songFont(12));
    ui::installChineseTranslations();
    ui::installKeyRules();
    ui::installModalWindowRules();
    testing_support::quietOffscreenWarnings();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
