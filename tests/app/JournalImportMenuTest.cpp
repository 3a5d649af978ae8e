// 资金日报表 and 导入日记帐 close both journal menus, after a separator, and
// 导入日记帐 opens the import window of its journal.

#include "ShellFixture.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <tuple>

using testing_support::child;

namespace {

QList<QAction*> menuItems(QMainWindow* main, const QString& title) {
    for (QAction* a : main->menuBar()->actions()) {
        if (a->text() == title)
            return a->menu()->actions();
    }
    return {};
}

} // namespace

TEST_F(ShellFixture, BothJournalMenusEndWithTheImportOfTheirJournal) {
    start(loginWith(""));
    for (const auto& [menu, report, component] :
         {std::tuple{QStringLiteral("【现金日记帐】"), "N63", "N64"},
          std::tuple{QStringLiteral("【银行日记帐】"), "N65", "N66"}}) {
        const QList<QAction*> items = menuItems(main.get(), menu);
        ASSERT_GE(items.size(), 3);
        EXPECT_TRUE(items[items.size() - 3]->isSeparator());
        EXPECT_EQ(items[items.size() - 2]->objectName(), QLatin1String(report));
        EXPECT_EQ(items[items.size() - 2]->text(), QStringLiteral("资金日报表"));
        EXPECT_EQ(items.last()->objectName(), QLatin1String(component));
        EXPECT_EQ(items.last()->text(), QStringLiteral("导入日记帐"));
    }

    testing_support::onNextModal([](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("导入银行日记帐"));
        EXPECT_GE(child<QComboBox>(window, "accounts")->findText(QStringLiteral("工商银行基本户")),
                  1);
        child<QPushButton>(window, "closeButton")->click();
    });
    child<QAction>(main.get(), "N66")->trigger();
    testing_support::onNextModal([](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("导入现金日记帐"));
        child<QPushButton>(window, "closeButton")->click();
    });
    child<QAction>(main.get(), "N64")->trigger();
    EXPECT_TRUE(messages.records().isEmpty());
}
