#pragma once

#include "support/ModalDriver.h"
#include "support/QtPrinting.h"
#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include "app/LoginDelay.h"
#include "app/TForm_main.h"
#include "store/ConnectionString.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

/// A main window and data module over a fresh test database, with every
/// message box recorded instead of shown.
class ShellFixture : public ::testing::Test {
protected:
    testing_support::TestDatabase db;
    ui::MessageRecorder messages;
    std::unique_ptr<app::TForm_main> main;
    std::unique_ptr<ui::TDm1> dm;

    ShellFixture() {
        // Failed logins make the next try wait; the tests take the wait as given at once.
        app::LoginDelay::setWaiter(
            [](std::chrono::milliseconds, QObject*, const std::function<void()>& then) { then(); });
    }

    void TearDown() override {
        main.reset();
        dm.reset();
    }

    /// Starts the program as main() does and waits for the activation
    /// sequence; `login` acts on the login window when it comes.
    void start(std::function<void(QDialog*)> login, const QString& connectionString = {}) {
        main = std::make_unique<app::TForm_main>();
        dm = std::make_unique<ui::TDm1>(connectionString.isEmpty()
                                            ? store::ConnectionString::forFile(db.path())
                                            : connectionString);
        if (login)
            testing_support::onNextModal(login);
        // A restart in the same test has the earlier run's boxes recorded already.
        const auto boxesBefore = messages.records().size();
        main->show();
        main->activateWindow();
        QTest::qWait(1);
        waitUntil([this, boxesBefore] {
            return main->activated() || !main->isVisible() ||
                   messages.records().size() > boxesBefore;
        });
    }

    static void waitUntil(const std::function<bool()>& done, int ms = 5000) {
        for (int waited = 0; !done() && waited < ms; waited += 10)
            QTest::qWait(10);
    }

    /// Picks an operator as a user does, with the arrow key in the list.
    static void pickOperator(QDialog* login, int downPresses = 1) {
        auto* list = testing_support::child<QComboBox>(login, "DBLookupComboBox1");
        for (int i = 0; i < downPresses; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }

    static void typePassword(QDialog* login, const char* text) {
        auto* field = testing_support::child<QLineEdit>(login, "Edit1");
        field->clear();
        QTest::keyClicks(field, QString::fromLatin1(text));
    }

    static void pressEnterInPassword(QDialog* login) {
        QTest::keyClick(testing_support::child<QLineEdit>(login, "Edit1"), Qt::Key_Return);
    }

    /// Logs in as the first operator with the given password.
    static std::function<void(QDialog*)> loginWith(const char* password) {
        return [password](QDialog* login) {
            pickOperator(login);
            typePassword(login, password);
            pressEnterInPassword(login);
        };
    }
};
