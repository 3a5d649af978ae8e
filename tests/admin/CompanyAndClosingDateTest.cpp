// The company information editor and the closing-date window.

#include "support/RefusedChanges.h"
#include "AdminFixture.h"

#include "admin/AdminCommands.h"
#include "store/BookkeepingPeriod.h"
#include "ui/DBDateEdit.h"
#include "ui/DBEdit.h"
#include "ui/DBMemo.h"

#include <QLabel>

using testing_support::child;
using testing_support::onNextModal;

namespace {

class CompanyEditor : public AdminFixture {
protected:
    QStringList banners;

    /// Runs the command with `action` acting on the editor; `action` leaves it open.
    void runEditor(const std::function<void(QDialog*)>& action) {
        onNextModal([action](QDialog* editor) {
            action(editor);
            if (editor->isVisible())
                click(editor, "SpeedButton2");
        });
        admin::openCompanyInformation(&main, [this](const QString& text) { banners << text; });
    }

    QString company(const char* column) {
        return stored(QStringLiteral("select %1 from 公司信息").arg(QString::fromUtf8(column)))
            .toString();
    }
};

TEST_F(CompanyEditor, EnterWalksTheFieldsInTableOrderAndSavesFromTheLast) {
    QStringList focusOrder;
    runEditor([&](QDialog* editor) {
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("公司信息编辑"));
        EXPECT_FALSE(editor->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(child<QAbstractButton>(editor, "bitbtn2")->text(), QStringLiteral("保存 (&S)"));
        EXPECT_EQ(child<QAbstractButton>(editor, "SpeedButton2")->text(),
                  QStringLiteral("返回 (&R)"));
        EXPECT_EQ(child<ui::DBEdit>(editor, "DBEdit5")->text(),
                  QStringLiteral("Tallomer 出纳日记账"));
        for (int i = 0; i < 7; ++i) {
            QWidget* focused = QApplication::focusWidget();
            focusOrder << (focused ? focused->objectName() : QString());
            if (i == 6)
                child<ui::DBMemo>(editor, "DBEdit6")->setPlainText(QStringLiteral("月底请对账"));
            pressEnter(focused);
        }
        EXPECT_TRUE(messages.records().isEmpty());
        EXPECT_TRUE(editor->isVisible()); // saving does not close the editor
    });
    EXPECT_EQ(focusOrder, QStringList({"DBEdit7", "DBEdit1", "DBEdit4", "DBEdit3", "DBEdit2",
                                       "DBEdit5", "DBEdit6"}));
    EXPECT_EQ(company("动态文字"), QStringLiteral("月底请对账"));
    EXPECT_EQ(banners, QStringList({QStringLiteral("月底请对账")}));
    EXPECT_FALSE(dm->q_gsxx.isOpen());
}

TEST_F(CompanyEditor, ABlankSystemTitleIsRefusedAndTheOtherFieldsMayBeEmpty) {
    runEditor([&](QDialog* editor) {
        auto* title = child<ui::DBEdit>(editor, "DBEdit5");
        child<ui::DBEdit>(editor, "DBEdit7")->setText(QStringLiteral("新公司"));
        title->setText(QStringLiteral("   "));
        click(editor, "bitbtn2");
        ASSERT_EQ(messages.records().size(), 1);
        EXPECT_EQ(messages.records()[0].text, QStringLiteral("系统标题不能为空,请重新输入!"));
        EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
        EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Warning);
        EXPECT_EQ(QApplication::focusWidget(), title);
        EXPECT_EQ(company("公司名称"), QStringLiteral("本公司")); // nothing stored

        title->setText(QStringLiteral("新标题"));
        child<ui::DBEdit>(editor, "DBEdit7")->setText(QString());
        click(editor, "bitbtn2");
        EXPECT_EQ(messages.records().size(), 1);
    });
    EXPECT_EQ(company("系统标题"), QStringLiteral("新标题"));
    EXPECT_EQ(company("公司名称"), QString());
}

TEST_F(CompanyEditor, TheFirstSaveIntoAnEmptyTableInsertsTheRow) {
    exec(QStringLiteral("delete from 公司信息"));
    runEditor([&](QDialog* editor) {
        EXPECT_TRUE(child<ui::DBEdit>(editor, "DBEdit7")->text().isEmpty());
        child<ui::DBEdit>(editor, "DBEdit5")->setText(QStringLiteral("甲公司出纳"));
        child<ui::DBMemo>(editor, "DBEdit6")->setPlainText(QStringLiteral("欢迎"));
        click(editor, "bitbtn2");
        child<ui::DBEdit>(editor, "DBEdit3")->setText(QStringLiteral("张三"));
        click(editor, "bitbtn2"); // the second save changes the same row
    });
    EXPECT_TRUE(messages.records().isEmpty());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 公司信息")).toInt(), 1);
    EXPECT_EQ(company("系统标题"), QStringLiteral("甲公司出纳"));
    EXPECT_EQ(company("联系人"), QStringLiteral("张三"));
    EXPECT_EQ(banners, QStringList({QStringLiteral("欢迎")}));
}

TEST_F(CompanyEditor, ARefusedPostIsReportedAndItsChangesDropped) {
    testing_support::refuseChanges(dm->ADO_xjrjz.database(), QStringLiteral("update"),
                                   QStringLiteral("公司信息"), QStringLiteral("1 = 1"),
                                   QStringLiteral("locked"));
    runEditor([&](QDialog* editor) {
        auto* name = child<ui::DBEdit>(editor, "DBEdit7");
        name->setText(QStringLiteral("改名"));
        click(editor, "bitbtn2");
        ASSERT_EQ(messages.records().size(), 1);
        EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Critical);
        EXPECT_EQ(messages.records()[0].text, QStringLiteral("数据不符合表的约束：locked."));
        EXPECT_EQ(name->text(), QStringLiteral("本公司"));
        EXPECT_EQ(dm->q_gsxx.state(), store::QueryState::Browse);
    });
    EXPECT_EQ(company("公司名称"), QStringLiteral("本公司"));
}

class ClosingDate : public AdminFixture {
protected:
    void SetUp() override {
        AdminFixture::SetUp();
        exec(QStringLiteral("update 关帐日期 set 关帐日期=cdate('2005-3-15')"));
        dm->login.closingDate = store::DateTime::fromDate(QDate(2005, 3, 15));
    }

    /// Types `text` into the date field and saves with Enter.
    void saveDate(const QString& text) {
        onNextModal([text](QDialog* window) {
            auto* date = child<ui::DBDateEdit>(window, "DBDateTimeEditEh1");
            EXPECT_EQ(QApplication::focusWidget(), date);
            date->setText(text);
            pressEnter(date);
            if (window->isVisible())
                click(window, "bitbtn_close");
        });
        admin::openClosingDate(&main);
        EXPECT_FALSE(dm->q_gzsj.isOpen());
    }

    QString periodTexts() const {
        const store::BookkeepingPeriod period(dm->login.closingDate);
        return period.firstDayText() + QLatin1Char(' ') + period.lastDayText();
    }
};

TEST_F(ClosingDate, SavingMovesThePeriodAndAnEmptyDateGivesDecember1899) {
    onNextModal([](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("结算时间设置"));
        EXPECT_EQ(
            child<QLabel>(window, "Label2")->text(),
            QStringLiteral("提示：当前记帐时间主要用在现金日记帐中，即用户是针对哪个月进行记帐！"));
        EXPECT_EQ(child<ui::DBDateEdit>(window, "DBDateTimeEditEh1")->text(),
                  QStringLiteral("2005-3-15"));
        click(window, "bitbtn_close");
    });
    admin::openClosingDate(&main);

    saveDate(QStringLiteral("2005-3-28"));
    EXPECT_EQ(dm->login.closingDate, store::DateTime::fromDate(QDate(2005, 3, 28)));
    EXPECT_EQ(periodTexts(), QStringLiteral("2005-3-1 2005-3-31"));

    saveDate(QStringLiteral("2008-2-3"));
    EXPECT_EQ(periodTexts(), QStringLiteral("2008-2-1 2008-2-29"));
    EXPECT_EQ(stored(QStringLiteral("select 关帐日期 from 关帐日期")).toDouble(),
              store::DateTime::fromDate(QDate(2008, 2, 3)).serial());

    saveDate(QString());
    EXPECT_TRUE(dm->login.closingDate.isZero());
    EXPECT_EQ(periodTexts(), QStringLiteral("1899-12-1 1899-12-31"));
    EXPECT_TRUE(stored(QStringLiteral("select 关帐日期 from 关帐日期")).isNull());
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(ClosingDate, AFailedSaveIsReportedAndKeepsTheDateInMemory) {
    testing_support::refuseChanges(dm->ADO_xjrjz.database(), QStringLiteral("update"),
                                   QStringLiteral("关帐日期"), QStringLiteral("1 = 1"),
                                   QStringLiteral("locked"));
    onNextModal([this](QDialog* window) {
        auto* date = child<ui::DBDateEdit>(window, "DBDateTimeEditEh1");
        date->setText(QStringLiteral("2005-4-2"));
        click(window, "bitbtn_ok");
        ASSERT_EQ(messages.records().size(), 1);
        EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Critical);
        EXPECT_TRUE(window->isVisible());
        click(window, "bitbtn_close");
    });
    admin::openClosingDate(&main);
    EXPECT_EQ(dm->login.closingDate, store::DateTime::fromDate(QDate(2005, 3, 15)));
    EXPECT_EQ(stored(QStringLiteral("select 关帐日期 from 关帐日期")).toDouble(),
              store::DateTime::fromDate(QDate(2005, 3, 15)).serial());
}

TEST_F(ClosingDate, ADateThatIsNoCalendarDayIsRefusedAndNothingStored) {
    onNextModal([this](QDialog* window) {
        auto* date = child<ui::DBDateEdit>(window, "DBDateTimeEditEh1");
        for (const char* typed : {"2005-4-2 10:00", "5-4-2", "2005-2-30"}) {
            date->selectAll();
            QTest::keyClicks(date, QLatin1String(typed));
            pressEnter(date);
            EXPECT_TRUE(window->isVisible()) << typed;
            EXPECT_EQ(QApplication::focusWidget(), date) << typed;
            EXPECT_EQ(date->text(), QLatin1String(typed));
        }
        click(window, "bitbtn_close");
    });
    admin::openClosingDate(&main);
    EXPECT_EQ(messages.texts(), QStringList(3, QStringLiteral("日期输入错误,请重新输入!")));
    for (const auto& record : messages.records())
        EXPECT_EQ(record.icon, ui::MessageIcon::Warning);
    EXPECT_EQ(dm->login.closingDate, store::DateTime::fromDate(QDate(2005, 3, 15)));
    EXPECT_EQ(stored(QStringLiteral("select 关帐日期 from 关帐日期")).toDouble(),
              store::DateTime::fromDate(QDate(2005, 3, 15)).serial());
}

TEST_F(ClosingDate, AnEmptyTableGetsItsRowOnTheFirstSave) {
    exec(QStringLiteral("delete from 关帐日期"));
    saveDate(QStringLiteral("2006-7-4"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 关帐日期")).toInt(), 1);
    EXPECT_EQ(periodTexts(), QStringLiteral("2006-7-1 2006-7-31"));
}

} // namespace
