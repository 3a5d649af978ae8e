#include "ShellFixture.h"

#include <QAction>

#include <chrono>

using namespace std::chrono_literals;
using testing_support::child;
using testing_support::onNextModal;

/// Records every wait the login asks for and lets the test decide when it is over.
class LoginDelays : public ShellFixture {
protected:
    std::vector<std::chrono::milliseconds> waits;
    std::function<void()> pending;

    LoginDelays() {
        app::LoginDelay::setWaiter(
            [this](std::chrono::milliseconds wait, QObject*, const std::function<void()>& then) {
                waits.push_back(wait);
                if (holdWaits)
                    pending = then;
                else
                    then();
            });
        db.exec(QStringLiteral("update 权限表 set 操作口令='OK'"));
    }

    bool holdWaits = false;

    static std::function<void(QDialog*)> failThrice() {
        return [](QDialog* login) {
            pickOperator(login);
            for (const char* wrong : {"x", "y", "z"}) {
                typePassword(login, wrong);
                pressEnterInPassword(login);
            }
        };
    }

    void restart(std::function<void(QDialog*)> login) {
        main.reset();
        dm.reset();
        start(std::move(login));
    }

    QString storedFailures() {
        return db.scalar(QStringLiteral("select value from _engine where key='failed-logins'"))
            .toString();
    }
};

TEST_F(LoginDelays, EachFailureWaitsLongerAcrossRestartsUpToHalfAMinute) {
    start(failThrice());
    ASSERT_FALSE(main->isVisible());
    EXPECT_EQ(waits, (std::vector<std::chrono::milliseconds>{1s, 2s}));
    EXPECT_EQ(storedFailures(), QStringLiteral("3"));

    // A restart gives no quicker try: the next one waits as the fourth failure calls for.
    waits.clear();
    restart(failThrice());
    EXPECT_EQ(waits, (std::vector<std::chrono::milliseconds>{4s, 8s, 16s}));
    waits.clear();
    restart(failThrice());
    EXPECT_EQ(waits, (std::vector<std::chrono::milliseconds>{30s, 30s, 30s}));
    EXPECT_EQ(messages.texts().count(QStringLiteral("密码不对，第1次！  ")), 3);

    // The right password ends the waits for the next run.
    waits.clear();
    restart(loginWith("ok"));
    EXPECT_TRUE(dm->login.loggedIn);
    EXPECT_EQ(storedFailures(), QStringLiteral("0"));
    EXPECT_EQ(waits, (std::vector<std::chrono::milliseconds>{30s}));
    waits.clear();
    onNextModal(loginWith("ok"));
    child<QAction>(main.get(), "N4")->trigger();
    EXPECT_TRUE(waits.empty());
}

TEST_F(LoginDelays, NoTryIsTakenWhileTheWaitLasts) {
    holdWaits = true;
    start([this](QDialog* login) {
        pickOperator(login);
        typePassword(login, "bad");
        pressEnterInPassword(login);
        ASSERT_TRUE(pending);
        EXPECT_FALSE(child<QPushButton>(login, "bitbtn_ok")->isEnabled());
        typePassword(login, "ok");
        pressEnterInPassword(login); // too early: neither taken nor counted
        EXPECT_TRUE(login->isVisible());
        pending();
        pressEnterInPassword(login);
        if (login->isVisible())
            child<QPushButton>(login, "bitbtn_cancel")->click();
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("密码不对，第1次！  ")}));
    EXPECT_TRUE(dm->login.loggedIn);
    EXPECT_EQ(waits, (std::vector<std::chrono::milliseconds>{1s}));
}
