#pragma once

#include "support/ModalDriver.h"
#include "support/TestDatabase.h"

#include "store/ConnectionString.h"
#include "store/OtherDesks.h"
#include "store/Database.h"
#include "store/Statement.h"
#include "ui/Choosers.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

/// The data module over a fresh test database, connected as after a login,
/// with a stand-in for the main window and every message box and file
/// dialog recorded instead of shown.
class AdminFixture : public ::testing::Test {
protected:
    testing_support::TestDatabase db;
    ui::MessageRecorder messages;
    ui::ChooserScript choosers;
    QWidget main;
    std::unique_ptr<ui::TDm1> dm;

    void SetUp() override {
        dm = std::make_unique<ui::TDm1>(store::ConnectionString::forFile(db.path()));
        dm->ADO_xjrjz.open();
        dm->login.operatorName = QStringLiteral("系统管理员");
        dm->login.loggedIn = true;
    }

    void TearDown() override { dm.reset(); }

    /// On a server book, closes the test's own connection, which would be another
    /// desk before which the restore and the initialisation refuse, and waits for
    /// the server to end its session, which it does a moment after the desk leaves.
    void leaveTheProgramTheOnlyDesk() {
        if (!db.onServer())
            return;
        db.connection().close();
        for (int waited = 0; store::otherDesks(dm->ADO_xjrjz.database()) > 0 && waited < 5000;
             waited += 10)
            QTest::qWait(10);
    }

    static void click(QDialog* window, const char* name) {
        QTest::mouseClick(testing_support::child<QAbstractButton>(window, name), Qt::LeftButton);
    }

    static void pressEnter(QWidget* field) { QTest::keyClick(field, Qt::Key_Return); }

    /// Runs statements through the program's own connection.
    void exec(const QString& sql) { dm->ADO_xjrjz.database().exec(sql); }

    /// A value read through the program's own connection.
    QVariant stored(const QString& sql) {
        store::Statement s(dm->ADO_xjrjz.database(), sql);
        return s.step() ? s.value(0) : QVariant();
    }
};
