#include "ShellFixture.h"

#include "store/OperatorPassword.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>

using testing_support::child;
using testing_support::onNextModal;

namespace {

QString storedPassword(testing_support::TestDatabase& db, const QString& name) {
    return db.scalar(QStringLiteral("select 操作口令 from 权限表 where 姓名='%1'").arg(name)).toString();
}

/// The book keeps a hash that the password opens, never the password itself.
::testing::AssertionResult keptAsHashOf(const QString& stored, const QString& password) {
    if (!stored.startsWith(QStringLiteral("$argon2id$")) || stored.contains(password))
        return ::testing::AssertionFailure() << "not a hash: " << stored.toStdString();
    if (!store::operatorPassword::matches(password, stored))
        return ::testing::AssertionFailure() << "the hash is not of " << password.toStdString();
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(ShellFixture, ThreeFailuresAtStartUpEndTheProgram) {
    db.exec(QStringLiteral("update 权限表 set 操作口令='ABC'"));
    start([](QDialog* login) {
        pickOperator(login);
        for (const char* wrong : {"x", "y", "z"}) {
            typePassword(login, wrong);
            pressEnterInPassword(login);
        }
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("密码不对，第1次！  "), QStringLiteral("密码不对，第2次！  ")}));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(main->statusPanel(1)->text(), QStringLiteral("操作员："));
}

TEST_F(ShellFixture, NoOperatorChosenCountsAsAFailure) {
    start([](QDialog* login) {
        QTest::mouseClick(child<QPushButton>(login, "bitbtn_ok"), Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(login, "DBLookupComboBox1"));
        typePassword(login, "x");
        pressEnterInPassword(login); // still no operator: second failure
        pickOperator(login);
        typePassword(login, "");
        pressEnterInPassword(login);
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("请选择操作人员！  "), QStringLiteral("请选择操作人员！  ")}));
    EXPECT_TRUE(dm->login.loggedIn);
    EXPECT_EQ(dm->login.operatorName, QStringLiteral("系统管理员"));
}

TEST_F(ShellFixture, TheLoginTakesTheTenCharactersAPasswordIsStoredWith) {
    // The own-password window stores at most ten characters; typing the longer
    // password again at the login must still match what was stored.
    db.exec(QStringLiteral("update 权限表 set 操作口令='ABCDEFGHIJ'"));
    start([](QDialog* login) {
        pickOperator(login);
        typePassword(login, "abcdefghijk");
        EXPECT_EQ(child<QLineEdit>(login, "Edit1")->text(), QStringLiteral("ABCDEFGHIJ"));
        pressEnterInPassword(login);
        if (login->isVisible())
            child<QPushButton>(login, "bitbtn_cancel")->click();
    });
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_TRUE(dm->login.loggedIn);
    EXPECT_EQ(dm->login.operatorPassword, QStringLiteral("ABCDEFGHIJ"));
}

// Presses Enter on the window's button with the focus, which closes the window; a window
// still open is closed all the same, so that a failing test ends.
void pressEnterOn(QDialog* window, const char* button) {
    auto* target = child<QPushButton>(window, button);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Return);
    if (window->isVisible()) {
        ADD_FAILURE() << button << " did not take Enter";
        window->done(QDialog::Rejected);
    }
}

TEST_F(ShellFixture, EnterPressesTheFocusedLoginButtons) {
    start([](QDialog* login) {
        pickOperator(login);
        typePassword(login, "");
        pressEnterOn(login, "bitbtn_ok");
    });
    EXPECT_EQ(dm->login.operatorName, QStringLiteral("系统管理员"));
    EXPECT_TRUE(messages.records().isEmpty());

    db.exec(QStringLiteral("insert into 权限表 (姓名, 操作口令) values ('乙', '')"));
    onNextModal([](QDialog* login) {
        pickOperator(login);
        pressEnterOn(login, "bitbtn_cancel");
    });
    child<QAction>(main.get(), "N4")->trigger();
    EXPECT_EQ(dm->login.operatorName, QStringLiteral("系统管理员"));
    EXPECT_TRUE(main->isVisible());
}

TEST_F(ShellFixture, ShiftAndCtrlEnterLogInWhileEscAltLettersAndMinimisingDoNothing) {
    start([](QDialog* login) {
        pickOperator(login);
        auto* list = child<QWidget>(login, "DBLookupComboBox1");
        auto* password = child<QLineEdit>(login, "Edit1");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), password);
        QTest::keyClick(password, Qt::Key_Escape);
        QTest::keyClick(password, Qt::Key_X, Qt::AltModifier);
        EXPECT_EQ(password->text(), QString());
        login->setWindowState(Qt::WindowMinimized);
        EXPECT_FALSE(login->windowState() & Qt::WindowMinimized);
        ASSERT_TRUE(login->isVisible());
        QTest::keyClick(password, Qt::Key_Return, Qt::ControlModifier);
        if (login->isVisible()) {
            ADD_FAILURE() << "Ctrl+Enter did not confirm";
            child<QPushButton>(login, "bitbtn_ok")->click();
        }
    });
    EXPECT_TRUE(dm->login.loggedIn);
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(ShellFixture, PasswordsCompareInUpperCase) {
    db.exec(QStringLiteral("update 权限表 set 操作口令='abc1'"));
    start(loginWith("abc1")); // typed in lower case, arrives in upper case
    EXPECT_TRUE(dm->login.loggedIn);
    EXPECT_EQ(dm->login.operatorPassword, QStringLiteral("ABC1"));

    db.exec(QStringLiteral("insert into 权限表 (姓名, 操作口令, 输入法) values ('乙', 'XY', 'pinyin')"));
    onNextModal([](QDialog* login) {
        auto* list = child<QComboBox>(login, "DBLookupComboBox1");
        do
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentText() != QStringLiteral("乙") && list->currentIndex() < list->count() - 1);
        typePassword(login, "xy");
        pressEnterInPassword(login);
    });
    child<QAction>(main.get(), "N4")->trigger();
    EXPECT_EQ(dm->login.operatorName, QStringLiteral("乙"));
    EXPECT_EQ(dm->login.inputMethod, QStringLiteral("pinyin"));
    EXPECT_EQ(main->statusPanel(1)->text(), QStringLiteral("操作员：乙"));
}

TEST_F(ShellFixture, FailedOperatorChangeKeepsThePreviousOperator) {
    db.exec(QStringLiteral("update 权限表 set 操作口令='A'"));
    start(loginWith("a"));
    ASSERT_EQ(dm->login.operatorName, QStringLiteral("系统管理员"));
    onNextModal([](QDialog* login) {
        pickOperator(login);
        for (const char* wrong : {"x", "y", "z"}) {
            typePassword(login, wrong);
            pressEnterInPassword(login);
        }
    });
    child<QAction>(main.get(), "N4")->trigger();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(dm->login.operatorName, QStringLiteral("系统管理员"));
    EXPECT_EQ(dm->login.operatorPassword, QStringLiteral("A"));
    EXPECT_EQ(main->statusPanel(1)->text(), QStringLiteral("操作员：系统管理员"));
    EXPECT_EQ(messages.texts().size(), 2);
}

class OwnPassword : public ShellFixture {
protected:
    /// Opens the own-password window, types the three fields and presses
    /// Enter in the last one; `then` looks at the window before it closes.
    void change(const char* old, const char* fresh, const char* confirm,
                const std::function<void(QDialog*)>& then = {}) {
        onNextModal([=](QDialog* window) {
            auto type = [window](const char* name, const char* text) {
                auto* field = child<QLineEdit>(window, name);
                field->clear();
                QTest::keyClicks(field, QString::fromLatin1(text));
            };
            type("MaskEdit3", old);
            type("MaskEdit1", fresh);
            type("MaskEdit2", confirm);
            QTest::keyClick(child<QLineEdit>(window, "MaskEdit2"), Qt::Key_Return);
            if (then)
                then(window);
            if (window->isVisible())
                child<QPushButton>(window, "bitbtn1")->click();
        });
        child<QAction>(main.get(), "N3")->trigger();
    }
};

TEST_F(OwnPassword, ChecksRunInOrderWithTheirFocus) {
    db.exec(QStringLiteral("update 权限表 set 操作口令='OLD'"));
    start(loginWith("old"));
    auto focusIs = [](const char* name) {
        return [name](QDialog* w) { EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(w, name)) << name; };
    };
    change("bad", "new", "new", focusIs("MaskEdit3"));
    change("old", "new", "neW2", focusIs("MaskEdit1"));
    change("old", "   ", "   ", focusIs("MaskEdit1"));
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("旧操作口令不正确,请重新输入!"),
                                             QStringLiteral("两次输入的操作口令不一致,请重新输入!"),
                                             QStringLiteral("没有输入新操作口令,请重新输入!")}));
    EXPECT_TRUE(keptAsHashOf(storedPassword(db, QStringLiteral("系统管理员")), QStringLiteral("OLD")));
    EXPECT_FALSE(dm->q_qxb.isOpen());

    messages.clear();
    change("old", " new", " new", [](QDialog* w) {
        EXPECT_EQ(child<QLabel>(w, "Label5")->text(), QStringLiteral("系统管理员"));
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("已经成功的修改了操作口令,请牢记!")}));
    EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Information);
    EXPECT_TRUE(keptAsHashOf(storedPassword(db, QStringLiteral("系统管理员")), QStringLiteral(" NEW")));
    EXPECT_FALSE(store::operatorPassword::matches(QStringLiteral("NEW"),
                                                  storedPassword(db, QStringLiteral("系统管理员"))));
    EXPECT_EQ(dm->login.operatorPassword, QStringLiteral(" NEW"));
}

TEST_F(OwnPassword, EnterPressesTheFocusedSaveAndBackButtons) {
    start(loginWith(""));
    onNextModal([](QDialog* window) {
        child<QLineEdit>(window, "MaskEdit1")->setText(QStringLiteral("NEW"));
        child<QLineEdit>(window, "MaskEdit2")->setText(QStringLiteral("NEW"));
        pressEnterOn(window, "bitbtn_ok");
    });
    child<QAction>(main.get(), "N3")->trigger();
    EXPECT_TRUE(keptAsHashOf(storedPassword(db, QStringLiteral("系统管理员")), QStringLiteral("NEW")));

    onNextModal([](QDialog* window) { pressEnterOn(window, "bitbtn1"); });
    child<QAction>(main.get(), "N3")->trigger();
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("已经成功的修改了操作口令,请牢记!")}));
}

TEST_F(OwnPassword, FieldsTakeTenCharacters) {
    start(loginWith(""));
    change("", "abcdefghijkl", "abcdefghijkl");
    EXPECT_TRUE(keptAsHashOf(storedPassword(db, QStringLiteral("系统管理员")), QStringLiteral("ABCDEFGHIJ")));
}

TEST_F(OwnPassword, TheBookKeepsAHashThatTheNextLoginOpens) {
    start(loginWith(""));
    change("", "pw7", "pw7");
    const QString stored = storedPassword(db, QStringLiteral("系统管理员"));
    EXPECT_TRUE(keptAsHashOf(stored, QStringLiteral("PW7")));
    // Salted: the same password set again is kept as another hash.
    change("pw7", "pw7", "pw7");
    EXPECT_NE(storedPassword(db, QStringLiteral("系统管理员")), stored);

    onNextModal(loginWith("pw7"));
    child<QAction>(main.get(), "N4")->trigger();
    onNextModal([](QDialog* login) {
        loginWith("PW8")(login);
        child<QPushButton>(login, "bitbtn_cancel")->click();
    });
    child<QAction>(main.get(), "N4")->trigger();
    EXPECT_EQ(messages.texts().mid(2), QStringList({QStringLiteral("密码不对，第1次！  ")}));
    EXPECT_EQ(dm->login.operatorPassword, QStringLiteral("PW7"));
}

TEST_F(ShellFixture, AClearPasswordOfAnOlderBookIsHashedAtTheFirstLogin) {
    db.exec(QStringLiteral("update 权限表 set 操作口令='abc1'"));
    db.exec(QStringLiteral("insert into 权限表 (姓名, 操作口令) values ('乙', 'XY')"));
    start(loginWith("abc1"));
    ASSERT_TRUE(dm->login.loggedIn);
    EXPECT_TRUE(keptAsHashOf(storedPassword(db, QStringLiteral("系统管理员")), QStringLiteral("ABC1")));
    EXPECT_EQ(storedPassword(db, QStringLiteral("乙")), QStringLiteral("XY")); // not logged in yet
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from 权限表")).toInt(), 2);

    onNextModal(loginWith("abc1")); // the hash opens to the same password
    child<QAction>(main.get(), "N4")->trigger();
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(dm->login.operatorName, QStringLiteral("系统管理员"));
}

TEST_F(OwnPassword, AVanishedOperatorRowIsNeverRecreated) {
    start(loginWith(""));
    db.exec(QStringLiteral("update 权限表 set 姓名='改名了'"));
    change("", "x", "x");
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("当前操作员已不存在,不能修改口令!")}));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from 权限表")).toInt(), 1);
    EXPECT_EQ(storedPassword(db, QStringLiteral("改名了")), QString());
}

TEST_F(ShellFixture, TheStatusBarShowsALongOperatorNameWhole) {
    const QString name = QStringLiteral("东方明珠电视塔旅游发展有限公司总出纳员");
    db.exec(QStringLiteral("update 权限表 set 姓名='%1'").arg(name));
    start(loginWith(""));
    ASSERT_EQ(dm->login.operatorName, name);
    QLabel* panel = main->statusPanel(1);
    main->statusBar()->layout()->activate();
    EXPECT_EQ(panel->text(), QStringLiteral("操作员：") + name);
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    // The always empty third panel makes the room: the support text stays put.
    const int before = main->statusPanel(4)->x();
    db.exec(QStringLiteral("insert into 权限表 (姓名, 操作口令) values ('乙', '')"));
    onNextModal([](QDialog* login) {
        auto* list = child<QComboBox>(login, "DBLookupComboBox1");
        do
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentText() != QStringLiteral("乙") &&
               list->currentIndex() < list->count() - 1);
        typePassword(login, "");
        pressEnterInPassword(login);
    });
    child<QAction>(main.get(), "N4")->trigger();
    ASSERT_EQ(dm->login.operatorName, QStringLiteral("乙"));
    main->statusBar()->layout()->activate();
    EXPECT_EQ(panel->width(), 120);
    EXPECT_EQ(main->statusPanel(4)->x(), before);
}
