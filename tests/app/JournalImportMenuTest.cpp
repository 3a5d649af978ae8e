// 导入日记帐 closes both journal menus, after a separator, and opens the
// import window of its journal.

#include "ShellFixture.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

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
    for (const auto& [menu, component] : {std::pair{QStringLiteral("【现金日记帐】"), "N64"},
                                          std::pair{QStringLiteral("【银行日记帐】"), "N66"}}) {
        const QList<QAction*> items = menuItems(main.get(), menu);
        ASSERT_GE(items.size(), 2);
        EXPECT_TRUE(items[items.size() - 2]->isSeparator());
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
