#include "ShellFixture.h"

#include "app/DataFolder.h"
#include "store/NewDatabase.h"
#include "ui/DBMemo.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QImage>
#include <QToolButton>

using testing_support::child;

TEST_F(ShellFixture, ActivationLoadsTitleBannerClosingDateAndLogsIn) {
    db.exec(QStringLiteral("update 公司信息 set 系统标题='测试公司出纳', 动态文字='月底请对账'"));
    db.exec(QStringLiteral("update 关帐日期 set 关帐日期=cdate('2005-3-15')"));
    start(loginWith(""));
    ASSERT_TRUE(main->activated());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("测试公司出纳"));
    EXPECT_EQ(child<QLabel>(main.get(), "Label1")->text(), QStringLiteral("月底请对账"));
    EXPECT_EQ(dm->login.closingDate, store::DateTime::fromDate(QDate(2005, 3, 15)));
    EXPECT_EQ(main->statusPanel(2)->text(), store::DateTime::today().toShortDateString());
    EXPECT_EQ(main->statusPanel(1)->text(), QStringLiteral("操作员：系统管理员"));
    EXPECT_TRUE(dm->login.loggedIn);
    EXPECT_FALSE(dm->q_qxb.isOpen());
    EXPECT_TRUE(messages.records().isEmpty());
    EXPECT_FALSE(child<QLabel>(main.get(), "Image1")->pixmap().isNull());
}

TEST_F(ShellFixture, ACompanysPictureInTheDataFolderIsTheBackground) {
    QTemporaryDir folder;
    QImage photograph(40, 30, QImage::Format_RGB32);
    photograph.fill(Qt::darkGreen);
    ASSERT_TRUE(photograph.save(folder.filePath(QStringLiteral("system.jpg")), "JPG"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    start(loginWith(""));
    QDir::setCurrent(before);
    ASSERT_TRUE(main->activated());
    EXPECT_EQ(child<QLabel>(main.get(), "Image1")->pixmap().size(), QSize(40, 30));
}

TEST_F(ShellFixture, CaptionIsTheStoredSystemTitleAloneEvenWhenEmpty) {
    db.exec(QStringLiteral("update 公司信息 set 系统标题=''"));
    start(loginWith(""));
    ASSERT_TRUE(main->activated());
    EXPECT_TRUE(main->windowTitle().isEmpty()) << main->windowTitle().toStdString();
    // A display name set on the application is added to every caption on a desktop
    // ("提示 — Tallomer"); none is set, so the display name follows the name.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("其他"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName().toStdString(), "其他");
    QCoreApplication::setApplicationName(name);
}

TEST_F(ShellFixture, NoConnectionEndsTheProgramWithItsMessage) {
    const QString missing = store::ConnectionString::forFile(db.folder() + QStringLiteral("/none.mdb"));
    start(nullptr, missing);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("系统数据库没有连接，请与软件公司联系！")}));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("Tallomer"));
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(QFile::exists(db.folder() + QStringLiteral("/none.mdb")));

    const QString other = db.folder() + QStringLiteral("/other.mdb");
    store::createDatabaseFile(other, QStringLiteral("secret"));
    messages.clear();
    start(nullptr, store::ConnectionString::forFile(other));
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("系统数据库没有连接，请与软件公司联系！")}));
    EXPECT_FALSE(main->isVisible());
}

TEST_F(ShellFixture, AnEngineErrorDuringActivationShowsTheErrorBoxAndStops) {
    db.exec(QStringLiteral("drop table 公司信息"));
    start(nullptr);
    ASSERT_EQ(messages.records().size(), 1);
    const ui::MessageRecord& box = messages.records()[0];
    EXPECT_EQ(box.icon, ui::MessageIcon::Critical);
    EXPECT_EQ(box.title, QStringLiteral("Tallomer"));
    EXPECT_TRUE(box.text.endsWith(QLatin1Char('.'))) << box.text.toStdString();
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->activated());
    EXPECT_FALSE(dm->login.loggedIn);
}

TEST_F(ShellFixture, MenusAndToolBarCarryTheirComponentNames) {
    start(loginWith(""));
    const QStringList menus = {QStringLiteral("【系统维护】"), QStringLiteral("【现金日记帐】"),
                               QStringLiteral("【银行日记帐】"), QStringLiteral("【帮助】")};
    QStringList shown;
    for (QAction* a : main->menuBar()->actions())
        shown << a->text();
    EXPECT_EQ(shown, menus);
    auto* visit = child<QAction>(main.get(), "N28");
    EXPECT_FALSE(visit->isVisible());
    EXPECT_FALSE(visit->isEnabled());
    EXPECT_EQ(child<QAction>(main.get(), "N12")->text(), QStringLiteral("现金统计(按凭证号+摘要)"));
    QStringList captions;
    for (auto* b : main->findChildren<QToolButton*>()) {
        if (b->objectName().startsWith(QLatin1String("SpeedButton")))
            captions << b->text();
    }
    EXPECT_EQ(captions, QStringList({"现金日记帐", "现金摘要统计", "现金月份统计", "银行日记帐", "银行摘要统计",
                                     "银行月份统计", "退出"}));
    // A tool-bar button runs its menu item's command: 现金摘要统计 opens its window.
    testing_support::onNextModal([](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("现金帐统计(按摘要)"));
        child<QToolButton>(window, "SpeedButton4")->click();
    });
    child<QToolButton>(main.get(), "SpeedButton4")->click();
    EXPECT_FALSE(dm->q_tongyong.isOpen());
    EXPECT_TRUE(messages.records().isEmpty());
    child<QToolButton>(main.get(), "SpeedButton7")->click();
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(dm->ADO_xjrjz.isConnected());
}

namespace {
// Pixels of text or outline a tool button shows: its caption cut at the bottom shows fewer.
int inkOf(QToolButton& button, const QSize& size) {
    button.setFixedSize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    button.render(&image);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return ink;
}
} // namespace

TEST_F(ShellFixture, ToolBarCaptionsAreDrawnWhole) {
    start(loginWith(""));
    int buttons = 0;
    for (auto* b : main->findChildren<QToolButton*>()) {
        if (!b->objectName().startsWith(QLatin1String("SpeedButton")))
            continue;
        ++buttons;
        EXPECT_LE(b->geometry().bottom(), b->parentWidget()->height()) << b->objectName().toStdString();
        QToolButton shown, tall;
        for (QToolButton* copy : {&shown, &tall}) {
            copy->setText(b->text());
            copy->setIcon(b->icon());
            copy->setIconSize(b->iconSize());
            copy->setToolButtonStyle(b->toolButtonStyle());
            copy->setAutoRaise(b->autoRaise());
            copy->setFont(b->font());
        }
        EXPECT_EQ(inkOf(shown, b->size()), inkOf(tall, QSize(b->width(), 3 * b->height())))
            << b->objectName().toStdString() << " " << b->text().toStdString();
    }
    EXPECT_EQ(buttons, 7);
}

TEST_F(ShellFixture, InterfaceResetDeletesBothFilesAndAlwaysReports) {
    start(loginWith(""));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(db.folder());
    for (const char* name : {"system.ini", "system1.ini"}) {
        QFile f(QString::fromLatin1(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    child<QAction>(main.get(), "N54")->trigger();
    EXPECT_FALSE(QFile::exists(QStringLiteral("system.ini")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("system1.ini")));
    child<QAction>(main.get(), "N54")->trigger();
    QDir::setCurrent(previous);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("界面初始化完毕！"), QStringLiteral("界面初始化完毕！")}));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
    EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Warning);

    child<QAction>(main.get(), "N27")->trigger();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("该系统操作非常简单，在窗口中已经有提示！"));
}

TEST_F(ShellFixture, BannerScrollsLeftAndReentersFromTheRight) {
    start(loginWith(""));
    auto* banner = child<QLabel>(main.get(), "Label1");
    auto* panel = child<QWidget>(main.get(), "Panel5");
    auto* timer = child<QTimer>(main.get(), "Timer1");
    EXPECT_EQ(timer->interval(), 60);
    auto tick = [timer] { QMetaObject::invokeMethod(timer, "timeout"); };
    timer->stop();

    main->setBannerText(QStringLiteral("公告"));
    const int width = banner->width();
    ASSERT_GT(width, 0);
    banner->move(-width + 1, banner->y());
    tick();
    EXPECT_EQ(banner->x(), -width);
    tick(); // completely gone on the left: re-enters at the panel's right edge
    EXPECT_EQ(banner->x(), panel->width());
    tick();
    EXPECT_EQ(banner->x(), panel->width() - 1);

    // An empty banner has width 0: it walks to 0, then jumps to the right.
    main->setBannerText(QString());
    EXPECT_EQ(banner->width(), 0);
    banner->move(2, banner->y());
    tick();
    tick();
    EXPECT_EQ(banner->x(), 0);
    tick();
    EXPECT_EQ(banner->x(), panel->width());
}

TEST_F(ShellFixture, BannerComesBackAfterAShorterTextIsSavedWhileItIsPartlyGone) {
    db.exec(QStringLiteral("update 公司信息 set 动态文字='欢迎使用出纳日记账，日清月结，账实相符。'"));
    start(loginWith(""));
    auto* banner = child<QLabel>(main.get(), "Label1");
    auto* panel = child<QWidget>(main.get(), "Panel5");
    auto* timer = child<QTimer>(main.get(), "Timer1");
    auto tick = [timer] { QMetaObject::invokeMethod(timer, "timeout"); };
    timer->stop();
    banner->move(-banner->width() / 2, banner->y()); // half of it past the left edge

    testing_support::onNextModal([](QDialog* editor) {
        child<ui::DBMemo>(editor, "DBEdit6")->setPlainText(QStringLiteral("月底"));
        child<QPushButton>(editor, "bitbtn2")->click();
        child<QAbstractButton>(editor, "SpeedButton2")->click();
    });
    child<QAction>(main.get(), "N18")->trigger();
    ASSERT_EQ(banner->text(), QStringLiteral("月底"));
    ASSERT_LT(banner->x(), -banner->width()); // the short text is already wholly gone
    tick();
    EXPECT_EQ(banner->x(), panel->width());
}

TEST_F(ShellFixture, ABookMissingAtALaterStartIsAFailedConnectionNotANewBook) {
    QTemporaryDir program;
    QTemporaryDir home;
    const QString user = home.filePath(QStringLiteral("share/tallomer"));
    ASSERT_EQ(app::prepareDataFolder(program.path(), user), user); // the very first start
    // Between two starts the book was moved away (or its disk is not mounted).
    ASSERT_TRUE(QFile::remove(user + QStringLiteral("/xjrjz.mdb")));

    const QString before = QDir::currentPath();
    QDir::setCurrent(app::prepareDataFolder(program.path(), user));
    bool loginShown = false;
    start(
        [&loginShown](QDialog* login) {
            loginShown = true;
            QTest::mouseClick(child<QPushButton>(login, "bitbtn_cancel"), Qt::LeftButton);
        },
        store::ConnectionString::standard());
    QDir::setCurrent(before);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("系统数据库没有连接，请与软件公司联系！")}));
    EXPECT_FALSE(loginShown);
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(QDir(user).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

TEST(DataFolder, ProgramFolderWithADatabaseWinsOtherwiseTheUserFolderIsMade) {
    QTemporaryDir program;
    QTemporaryDir home;
    const QString user = home.filePath(QStringLiteral("share/tallomer"));
    EXPECT_EQ(app::prepareDataFolder(program.path(), user), user);
    EXPECT_TRUE(QFile::exists(user + QStringLiteral("/xjrjz.mdb")));
    // A second start keeps the database it made.
    const QDateTime made = QFileInfo(user + QStringLiteral("/xjrjz.mdb")).lastModified();
    EXPECT_EQ(app::prepareDataFolder(program.path(), user), user);
    EXPECT_EQ(QFileInfo(user + QStringLiteral("/xjrjz.mdb")).lastModified(), made);
    store::createDatabaseFile(program.filePath(QStringLiteral("xjrjz.mdb")), store::standardPassword());
    EXPECT_EQ(app::prepareDataFolder(program.path(), user), program.path());
}
