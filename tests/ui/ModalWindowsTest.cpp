#include "ui/ModalWindows.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

bool minimised(const QWidget& w) {
    return w.windowState() & Qt::WindowMinimized;
}

} // namespace

TEST(ModalWindows, RefuseEveryMinimiseRequest) {
    QMainWindow main;
    main.show();
    QDialog dialog(&main, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    bool checked = false;
    QTimer::singleShot(0, &dialog, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        // The window manager's request, then the program's own.
        dialog.windowHandle()->showMinimized();
        QTest::qWait(50);
        EXPECT_FALSE(minimised(dialog));
        EXPECT_FALSE(dialog.windowHandle()->windowStates() & Qt::WindowMinimized);
        EXPECT_TRUE(dialog.isVisible());
        dialog.setWindowState(Qt::WindowMinimized);
        QTest::qWait(50);
        EXPECT_FALSE(minimised(dialog));
        EXPECT_TRUE(dialog.isVisible());
        // A maximised list window stays maximised.
        dialog.setWindowState(Qt::WindowMaximized);
        dialog.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
        QTest::qWait(50);
        EXPECT_EQ(dialog.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);
        checked = true;
        dialog.done(QDialog::Rejected);
    });
    dialog.exec();
    EXPECT_TRUE(checked);

    // The main window is not modal: it may be minimised.
    main.setWindowState(Qt::WindowMinimized);
    QTest::qWait(50);
    EXPECT_TRUE(minimised(main));
}
