// The main window's commands as a user starts them, from the menu bar and the
// tool bar: the SQL text each prepares, the window it opens, what that window
// shows (checked against totals worked out by hand from the seeded book), and
// that the command closes its query again.

#include "ShellFixture.h"

#include "lists/DataGrid.h"
#include "lists/ListWindow.h"
#include "store/Database.h"
#include "store/Statement.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using testing_support::child;
using testing_support::onNextModal;

namespace {

/// A book kept in March 2005: a catalogue of three summaries, two bank
/// accounts, three operators and entries in and around the month in both
/// journals, logged in as the first operator.
class CommandQueries : public ShellFixture {
protected:
    void SetUp() override {
        db.exec(QStringLiteral("update 关帐日期 set 关帐日期=cdate('2005-3-15')"));
        start(loginWith(""));
        ASSERT_TRUE(dm->login.loggedIn);
        db.exec(QStringLiteral("delete from 摘要"));
        db.exec(QStringLiteral(
            "insert into 摘要 (摘要, 属性) values ('收款', '增加'), ('工资', '减少'), "
            "('差旅', '减少')"));
        db.exec(QStringLiteral("insert into 开户银行 (项目) values ('农行')"));
        db.exec(QStringLiteral(
            "insert into 权限表 (姓名, 身份证号) values ('张三', '110'), ('出纳乙', '120')"));
        // The March entry of 3-10 was made last: its larger counter moves it
        // after 3-5 but, being only a few days, not after 3-31.
        db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 贷方, 凭证号) values "
                               "(cdate('2005-2-27'), '收款', ccur('50'), null, '1'),"
                               "(cdate('2005-3-1'), '收款', ccur('1000'), null, '1'),"
                               "(cdate('2005-3-5'), '工资', null, ccur('300'), '2'),"
                               "(cdate('2005-3-31'), '差旅', null, ccur('45.5'), '2'),"
                               "(cdate('2005-4-1'), '收款', ccur('7'), null, '1'),"
                               "(cdate('2005-3-10'), '收款退回', null, ccur('20'), '1')"));
        db.exec(QStringLiteral(
            "insert into 银行日记帐 (开户银行, 日期, 摘要, 借方, 贷方, 凭证号) values "
            "('工商银行基本户', cdate('2005-3-2'), '收款', ccur('500'), null, '8'),"
            "('农行', cdate('2005-3-3'), '收款', ccur('200'), null, '8'),"
            "('农行', cdate('2005-3-20'), '工资', null, ccur('80'), '9'),"
            "('农行', cdate('2005-5-1'), '收款', ccur('10'), null, '8')"));
        // What a statistics window of an earlier run left behind.
        db.exec(QStringLiteral("insert into 通用 (摘要, 现金增加) values ('上次的', ccur('99'))"));
    }

    using Inspect = std::function<void(lists::ListWindow*)>;
    int m_windowsOpened = 0;

    /// Picks a menu item as a user does: a click on its menu's title in the
    /// menu bar, then on the item in the menu that drops down.
    void clickMenuItem(const char* item) {
        auto* action = child<QAction>(main.get(), item);
        QMenuBar* bar = main->menuBar();
        for (QAction* title : bar->actions()) {
            QMenu* menu = title->menu();
            if (!menu || !menu->actions().contains(action))
                continue;
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                              bar->actionGeometry(title).center());
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << item;
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(action).center());
            return;
        }
        ADD_FAILURE() << "no menu holds " << item;
    }

    void fromMenu(const char* item, const Inspect& inspect) {
        const int before = m_windowsOpened;
        whenOpened(inspect);
        clickMenuItem(item);
        EXPECT_EQ(m_windowsOpened, before + 1) << item;
        EXPECT_FALSE(QApplication::activeModalWidget()) << item;
    }

    void fromToolBar(const char* button, const Inspect& inspect) {
        const int before = m_windowsOpened;
        whenOpened(inspect);
        QTest::mouseClick(child<QToolButton>(main.get(), button), Qt::LeftButton);
        EXPECT_EQ(m_windowsOpened, before + 1) << button;
        EXPECT_FALSE(QApplication::activeModalWidget()) << button;
    }

    /// Checks the window that opens modally over the main window with
    /// `inspect`, then closes it with "返回", whatever the checks found.
    void whenOpened(const Inspect& inspect) {
        onNextModal([this, inspect](QDialog* dialog) {
            ++m_windowsOpened;
            auto* window = qobject_cast<lists::ListWindow*>(dialog);
            EXPECT_TRUE(window) << dialog->metaObject()->className();
            EXPECT_EQ(dialog->parentWidget(), main.get());
            if (window)
                inspect(window);
            QTest::mouseClick(child<QToolButton>(dialog, "SpeedButton4"), Qt::LeftButton);
        });
    }

    /// Runs "统计" of a statistics list window and answers its criteria dialog with `answer`.
    static void runCriteriaDialog(lists::ListWindow* window,
                                  const std::function<void(QDialog*)>& answer) {
        onNextModal([answer](QDialog* dialog) {
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("统计"));
            answer(dialog);
            if (dialog->isVisible()) { // a check failed: leave without a statistic
                ADD_FAILURE() << "the criteria dialog stayed open";
                QTest::mouseClick(child<QPushButton>(dialog, "bitbtn_close"), Qt::LeftButton);
            }
        });
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton5"), Qt::LeftButton);
    }

    static void type(QWidget* field, const char* text) {
        QTest::keyClicks(field, QString::fromUtf8(text));
    }
    static void enter(QWidget* field) { QTest::keyClick(field, Qt::Key_Return); }
    /// Types a date range into the fields "日期  从：" and "到：", each ended with Enter.
    static void typeRange(QWidget* window, const char* from, const char* to) {
        type(child<QWidget>(window, "DBDateTimeEditEh1"), from);
        enter(child<QWidget>(window, "DBDateTimeEditEh1"));
        type(child<QWidget>(window, "DBDateTimeEditEh2"), to);
        enter(child<QWidget>(window, "DBDateTimeEditEh2"));
    }
    /// Chooses an entry of a drop-down list with the arrow key, as a user does.
    static void chooseWithArrows(QComboBox* list, const QString& entry) {
        const int target = list->findText(entry);
        ASSERT_GE(target, 0) << entry.toStdString();
        while (list->currentIndex() < target)
            QTest::keyClick(list, Qt::Key_Down);
    }

    static QStringList entries(const QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }

    /// The rows a grid shows, each as the texts of the given fields' cells joined by "|".
    static QStringList shownRows(lists::DataGrid* grid, const QStringList& fields) {
        QStringList rows;
        const QAbstractItemModel* model = grid->view()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (const QString& field : fields)
                cells << model->index(row, grid->indexOfField(field)).data().toString();
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }
    static QStringList footers(lists::DataGrid* grid, QList<int> columns) {
        QStringList texts;
        for (int column : columns)
            texts << grid->footerText(column);
        return texts;
    }

    static void expectWindow(lists::ListWindow* window, const char* className, const char* title) {
        EXPECT_STREQ(window->metaObject()->className(), className);
        // The window's component name is its class name without the leading T.
        EXPECT_EQ(window->objectName(),
                  QString::fromLatin1(className).section(QStringLiteral("::"), -1).mid(1));
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(title));
        EXPECT_TRUE(window->isModal());
    }

    /// The rows 通用 holds, counted straight from the table through the program's
    /// connection (on a server the scratch table is that connection's own).
    int scratchRows() {
        store::Statement count(dm->ADO_xjrjz.database(), QStringLiteral("select count(*) from 通用"));
        count.step();
        return int(count.int64(0));
    }
};

const QStringList kCashMonth = {
    QStringLiteral("select * from 现金日记帐"),
    QStringLiteral("where (日期 between cdate('2005-3-1') and cdate('2005-3-31'))"),
    QStringLiteral("order by 日期+编号")};
const QStringList kScratch = {QStringLiteral("select * from "), QStringLiteral("通用")};
const QStringList kBankAccounts = {QStringLiteral("select * from "), QStringLiteral("开户银行")};
const QString kCashSums = QStringLiteral("select sum(借方) as jf,sum(贷方) as df from 现金日记帐");
const QString kBankSums = QStringLiteral("select sum(借方) as jf,sum(贷方) as df from 银行日记帐");

} // namespace

TEST_F(CommandQueries, CashJournalOpensOnTheMonthBeingKept) {
    auto inspect = [this](lists::ListWindow* window) {
        expectWindow(window, "journal::TForm_xjrjz", "现金日记账");
        EXPECT_EQ(dm->q_xjrjz.sql(), kCashMonth);
        EXPECT_TRUE(dm->q_xjrjz.isOpen());
        // March only, in the order of date advanced by counter.
        EXPECT_EQ(shownRows(window->grid(), {"日期", "摘要", "凭证号"}),
                  QStringList({"2005-3-1|收款|1", "2005-3-5|工资|2", "2005-3-10|收款退回|1",
                               "2005-3-31|差旅|2"}));
        EXPECT_EQ(footers(window->grid(), {1, 3, 4}), QStringList({"4", "1,000.00", "365.50"}));
    };
    fromMenu("N24", inspect);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());
    fromToolBar("SpeedButton8", inspect);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(CommandQueries, BankJournalOffersTheAccountsAndWaitsForOne) {
    bool first = true;
    auto inspect = [this, &first](lists::ListWindow* window) {
        expectWindow(window, "journal::TForm_yhrjz", "银行日记账");
        // The accounts came through the summaries' query, which is closed again.
        EXPECT_EQ(dm->q_zy.sql(), kBankAccounts);
        EXPECT_FALSE(dm->q_zy.isOpen());
        auto* accounts = child<QComboBox>(window, "ComboBox1");
        EXPECT_EQ(entries(accounts), QStringList({"工商银行基本户", "农行"}));
        // Nothing chosen, also the second time round.
        EXPECT_EQ(accounts->currentIndex(), -1);
        EXPECT_FALSE(dm->q_xjrjz.isOpen());
        EXPECT_EQ(window->grid()->view()->model()->rowCount(), 0);
        if (!first)
            return;
        first = false;
        chooseWithArrows(accounts, QStringLiteral("农行"));
        EXPECT_EQ(dm->q_xjrjz.sql(), QStringList({"select * from 银行日记帐",
                                                  "where (开户银行='农行')and(日期 between "
                                                  "cdate('2005-3-1') and cdate('2005-3-31'))",
                                                  "order by 日期+编号"}));
        EXPECT_EQ(shownRows(window->grid(), {"开户银行", "日期", "摘要"}),
                  QStringList({"农行|2005-3-3|收款", "农行|2005-3-20|工资"}));
        EXPECT_EQ(footers(window->grid(), {3, 5, 6}), QStringList({"2", "200.00", "80.00"}));
    };
    fromMenu("N14", inspect);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());
    fromToolBar("SpeedButton6", inspect);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(CommandQueries, PasswordAndOperatorChangeWorkOnTheOperatorsQuery) {
    int shown = 0;
    onNextModal([this, &shown](QDialog* window) {
        ++shown;
        EXPECT_STREQ(window->metaObject()->className(), "app::TForm_password");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("修改当前操作员口令"));
        EXPECT_EQ(dm->q_qxb.sql(), QStringList({"select * from 权限表 ", "where 姓名='系统管理员'",
                                                "order by 姓名"}));
        EXPECT_EQ(dm->q_qxb.recordCount(), 1);
        EXPECT_EQ(child<QLabel>(window, "Label5")->text(), QStringLiteral("系统管理员"));
        QTest::mouseClick(child<QPushButton>(window, "bitbtn1"), Qt::LeftButton);
    });
    clickMenuItem("N3");
    EXPECT_FALSE(dm->q_qxb.isOpen());

    onNextModal([this, &shown](QDialog* window) {
        ++shown;
        EXPECT_STREQ(window->metaObject()->className(), "app::TForm_Enter");
        EXPECT_EQ(dm->q_qxb.sql(), QStringList({"select * from 权限表 order by 姓名"}));
        EXPECT_EQ(entries(child<QComboBox>(window, "DBLookupComboBox1")),
                  QStringList({"出纳乙", "系统管理员", "张三"}));
        pickOperator(window); // the first by name, whose password is empty
        pressEnterInPassword(window);
    });
    clickMenuItem("N4");
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(dm->q_qxb.isOpen());
    EXPECT_EQ(dm->login.operatorName, QStringLiteral("出纳乙"));
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(CommandQueries, AQueryThatFailsShowsTheErrorBoxAndNoWindow) {
    // Any window that opens all the same is closed at once and counted.
    int windows = 0;
    QTimer watch;
    watch.callOnTimeout([&windows] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++windows;
            dialog->done(QDialog::Rejected);
        }
    });
    watch.start(10);
    // Through the program's connection: on a server 通用 is that connection's own,
    // in front of the book's shared one, which goes too.
    dm->ADO_xjrjz.database().exec(QStringLiteral("drop table 摘要"));
    dm->ADO_xjrjz.database().exec(QStringLiteral("drop table 通用"));
    if (db.onServer())
        dm->ADO_xjrjz.database().exec(QStringLiteral("drop table 通用"));
    clickMenuItem("N19");
    QTest::mouseClick(child<QToolButton>(main.get(), "SpeedButton4"), Qt::LeftButton);
    QTest::qWait(50);
    watch.stop();
    EXPECT_EQ(windows, 0);
    ASSERT_EQ(messages.records().size(), 2);
    for (const ui::MessageRecord& box : messages.records()) {
        EXPECT_EQ(box.icon, ui::MessageIcon::Critical);
        EXPECT_FALSE(box.text.isEmpty());
    }
    EXPECT_FALSE(dm->q_zy.isOpen());
    EXPECT_FALSE(dm->q_tongyong.isOpen());
    // The main window stays and its commands still work.
    fromToolBar("SpeedButton8", [](lists::ListWindow* window) {
        EXPECT_EQ(window->grid()->footerText(1), QStringLiteral("4"));
    });
}

TEST_F(CommandQueries, CatalogueAndOperatorCommandsOpenTheirWholeTable) {
    fromMenu("N2", [this](lists::ListWindow* window) {
        expectWindow(window, "admin::TForm_qxb", "操作员设置");
        EXPECT_EQ(dm->q_qxb.sql(), QStringList({"select * from 权限表 order by 姓名"}));
        // By name in pinyin order: chu, xi, zhang.
        EXPECT_EQ(shownRows(window->grid(), {"姓名", "身份证号"}),
                  QStringList({"出纳乙|120", "系统管理员|", "张三|110"}));
        EXPECT_EQ(window->grid()->footerText(1), QStringLiteral("3"));
    });
    EXPECT_FALSE(dm->q_qxb.isOpen());

    fromMenu("N19", [this](lists::ListWindow* window) {
        expectWindow(window, "journal::TForm_zy", "摘要设置");
        EXPECT_EQ(dm->q_zy.sql(), QStringList({"select * from 摘要"}));
        EXPECT_EQ(shownRows(window->grid(), {"摘要"}), QStringList({"收款", "工资", "差旅"}));
        EXPECT_FALSE(child<QToolButton>(window, "SpeedButton3")->isVisible()); // no picking here
    });
    EXPECT_FALSE(dm->q_zy.isOpen());

    fromMenu("N16", [this](lists::ListWindow* window) {
        expectWindow(window, "journal::TForm_khyh", "开户银行设置");
        EXPECT_EQ(dm->q_khyh.sql(), QStringList({"select * from 开户银行"}));
        EXPECT_EQ(shownRows(window->grid(), {"项目"}), QStringList({"工商银行基本户", "农行"}));
    });
    EXPECT_FALSE(dm->q_khyh.isOpen());
    EXPECT_TRUE(messages.records().isEmpty());
}

namespace {

/// A statistics command as the menu item starts it (and, the second time, its
/// tool-bar button when it has one): both times the window opens on an
/// emptied 通用; the first time `fill` then runs a statistic in it.
class StatisticsCommands : public CommandQueries {
protected:
    void openTwice(const char* item, const char* button, const Inspect& opened,
                   const Inspect& fill) {
        fromMenu(item, [&](lists::ListWindow* window) {
            expectEmptyScratch(window);
            opened(window);
            fill(window);
        });
        EXPECT_FALSE(dm->q_tongyong.isOpen());
        EXPECT_FALSE(dm->q_xjrjz.isOpen());
        EXPECT_FALSE(dm->q_zy.isOpen());
        ASSERT_GT(scratchRows(), 0) << "the statistic left its rows in 通用";
        const Inspect again = [&](lists::ListWindow* window) {
            expectEmptyScratch(window);
            opened(window);
        };
        if (button)
            fromToolBar(button, again);
        else
            fromMenu(item, again);
        EXPECT_FALSE(dm->q_tongyong.isOpen());
        EXPECT_TRUE(messages.records().isEmpty())
            << messages.texts().join(QLatin1Char('/')).toStdString();
    }

    void expectEmptyScratch(lists::ListWindow* window) {
        EXPECT_EQ(dm->q_tongyong.sql(), kScratch);
        EXPECT_TRUE(dm->q_tongyong.isOpen());
        EXPECT_EQ(window->grid()->view()->model()->rowCount(), 0);
        EXPECT_EQ(scratchRows(), 0);
    }

    /// The sum query of the last summary (差旅) or month (December) a fill ran.
    void expectLastSumQuery(const QString& select, const QString& condition) {
        EXPECT_EQ(dm->q_xjrjz.sql(), QStringList({select, QStringLiteral(" where "), condition}));
        EXPECT_FALSE(dm->q_xjrjz.isOpen());
    }

    static QStringList summaryRows(lists::ListWindow* window) {
        return shownRows(window->grid(), {"摘要", "发车日期", "收车日期", "现金增加", "现金减少"});
    }
    static QStringList monthRows(lists::ListWindow* window) {
        return shownRows(window->grid(), {"年度", "月份", "现金增加", "现金减少", "收入差价"});
    }
    static QString bankLabel(lists::ListWindow* window) {
        return child<QLabel>(window, "Label1")->text();
    }
};

} // namespace

TEST_F(StatisticsCommands, CashBySummary) {
    openTwice(
        "N39", "SpeedButton4",
        [](lists::ListWindow* window) {
            expectWindow(window, "stats::TForm_xjsytj", "现金帐统计(按摘要)");
        },
        [this](lists::ListWindow* window) {
            runCriteriaDialog(window, [](QDialog* dialog) {
                typeRange(dialog, "2005-3-1", "2005-3-31"); // the last Enter runs it
            });
            // 收款 also counts 收款退回, whose credit yields to the debit total.
            EXPECT_EQ(summaryRows(window), QStringList({"收款|2005-3-1|2005-3-31|1,000.00|",
                                                        "工资|2005-3-1|2005-3-31||300.00",
                                                        "差旅|2005-3-1|2005-3-31||45.50"}));
            EXPECT_EQ(footers(window->grid(), {1, 3, 4}), QStringList({"3", "1,000.00", "345.50"}));
            expectLastSumQuery(
                kCashSums, QStringLiteral("(日期 between cdate('2005-3-1 0:0:0') and "
                                          "cdate('2005-3-31 23:59:59'))and(摘要 like '差旅%')"));
        });
}

TEST_F(StatisticsCommands, BankBySummaryForOneAccount) {
    openTwice(
        "N23", "SpeedButton1",
        [](lists::ListWindow* window) {
            expectWindow(window, "stats::TForm_yhsytj", "银行帐统计(按摘要)");
            EXPECT_EQ(bankLabel(window), QString());
        },
        [this](lists::ListWindow* window) {
            runCriteriaDialog(window, [](QDialog* dialog) {
                typeRange(dialog, "2005-3-1", "2005-3-31"); // the last Enter: on to the account
                auto* bank = child<QComboBox>(dialog, "DBComboBoxEh2");
                chooseWithArrows(bank, QStringLiteral("农行"));
                enter(bank);
            });
            EXPECT_EQ(summaryRows(window), QStringList({"收款|2005-3-1|2005-3-31|200.00|",
                                                        "工资|2005-3-1|2005-3-31||80.00"}));
            EXPECT_EQ(bankLabel(window), QStringLiteral("开户银行：农行"));
            expectLastSumQuery(
                kBankSums,
                QStringLiteral("(开户银行='农行')and(日期 between cdate('2005-3-1 0:0:0') "
                               "and cdate('2005-3-31 23:59:59'))and(摘要 like '差旅%')"));
        });
}

TEST_F(StatisticsCommands, CashByMonth) {
    openTwice(
        "N49", "SpeedButton2",
        [](lists::ListWindow* window) {
            expectWindow(window, "stats::TForm_xjsytj_yf", "现金帐统计(按月份)");
        },
        [this](lists::ListWindow* window) {
            runCriteriaDialog(window, [](QDialog* dialog) {
                auto* year = child<QComboBox>(dialog, "DBComboBoxEh1");
                type(year, "2005");
                enter(year); // runs it
            });
            EXPECT_EQ(monthRows(window),
                      QStringList({"2005|02月|50.00|0.00|50.00", "2005|03月|1,000.00|365.50|634.50",
                                   "2005|04月|7.00|0.00|7.00"}));
            EXPECT_EQ(footers(window->grid(), {2, 3, 4}),
                      QStringList({"1,057.00", "365.50", "691.50"}));
            EXPECT_EQ(dm->q_tongyong.sql(), kScratch + QStringList({" order by 月份"}));
            expectLastSumQuery(
                kCashSums,
                QStringLiteral(
                    "(日期 between cdate('2005-12-1 0:0:0') and cdate('2005-12-31 23:59:59'))"));
        });
}

TEST_F(StatisticsCommands, BankByMonthOverEveryAccount) {
    openTwice(
        "N22", "SpeedButton3",
        [](lists::ListWindow* window) {
            expectWindow(window, "stats::TForm_yhsytj_yf", "银行帐统计(按月份)");
            EXPECT_EQ(bankLabel(window), QString());
        },
        [this](lists::ListWindow* window) {
            runCriteriaDialog(window, [](QDialog* dialog) {
                auto* year = child<QComboBox>(dialog, "DBComboBoxEh1");
                chooseWithArrows(year, QStringLiteral("2005年"));
                enter(year); // on to the account, left empty
                enter(child<QComboBox>(dialog, "DBComboBoxEh2"));
            });
            EXPECT_EQ(monthRows(window),
                      QStringList({"2005|03月|700.00|80.00|620.00", "2005|05月|10.00|0.00|10.00"}));
            EXPECT_EQ(bankLabel(window), QString());
            expectLastSumQuery(
                kBankSums,
                QStringLiteral(
                    "(日期 between cdate('2005-12-1 0:0:0') and cdate('2005-12-31 23:59:59'))"));
        });
}

TEST_F(StatisticsCommands, CashByVoucher) {
    openTwice(
        "N12", nullptr,
        [](lists::ListWindow* window) {
            expectWindow(window, "stats::TForm_statistics_voucher", "现金帐统计(按凭证号)");
            EXPECT_EQ(child<QLineEdit>(window, "Edit1")->text(), QString());
        },
        [this](lists::ListWindow* window) {
            typeRange(window, "2005-3-1", "2005-3-31");
            type(child<QWidget>(window, "Edit1"), " 2 ");
            enter(child<QWidget>(window, "Edit1")); // runs it
            EXPECT_EQ(summaryRows(window), QStringList({"工资|2005-3-1|2005-3-31||300.00",
                                                        "差旅|2005-3-1|2005-3-31||45.50"}));
            EXPECT_EQ(footers(window->grid(), {1, 4}), QStringList({"2", "345.50"}));
            EXPECT_EQ(dm->q_tongyong.sql(), kScratch);
            expectLastSumQuery(kCashSums,
                               QStringLiteral("(日期 between cdate('2005-3-1 0:0:0') and "
                                              "cdate('2005-3-31 23:59:59'))and(凭证号='2')"
                                              "and(摘要 like '差旅%')"));
        });
}

TEST_F(StatisticsCommands, BankByVoucherOffersTheAccounts) {
    openTwice(
        "N25", nullptr,
        [this](lists::ListWindow* window) {
            expectWindow(window, "stats::TForm_statistics_voucher_yh", "银行帐统计(按凭证号)");
            EXPECT_EQ(dm->q_zy.sql(), kBankAccounts);
            EXPECT_FALSE(dm->q_zy.isOpen());
            auto* bank = child<QComboBox>(window, "DBComboBoxEh2");
            EXPECT_EQ(entries(bank), QStringList({"工商银行基本户", "农行"}));
            EXPECT_EQ(bank->currentText(), QString());
        },
        [this](lists::ListWindow* window) {
            type(child<QWidget>(window, "DBDateTimeEditEh1"), "2005-3-1");
            type(child<QWidget>(window, "DBDateTimeEditEh2"), "2005-5-31");
            type(child<QWidget>(window, "Edit1"), "8");
            chooseWithArrows(child<QComboBox>(window, "DBComboBoxEh2"), QStringLiteral("农行"));
            QTest::mouseClick(child<QToolButton>(window, "SpeedButton5"), Qt::LeftButton);
            // 农行's two entries under voucher 8, in March and in May; 工商银行基本户's is left
            // out.
            EXPECT_EQ(summaryRows(window), QStringList({"收款|2005-3-1|2005-5-31|210.00|"}));
            expectLastSumQuery(
                kBankSums,
                QStringLiteral("(开户银行='农行')and(日期 between cdate('2005-3-1 0:0:0') "
                               "and cdate('2005-5-31 23:59:59'))and(凭证号='8')"
                               "and(摘要 like '差旅%')"));
        });
}
