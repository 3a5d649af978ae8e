#pragma once

#include "support/DataModuleFixture.h"

#include "journal/JournalWindow.h"
#include "lists/DataGrid.h"
#include "store/BookkeepingPeriod.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolButton>

/// A journal window opened as the main window's command opens it, on March
/// 2005 as the month being kept.
class JournalFixture : public DataModuleFixture {
protected:
    std::unique_ptr<journal::JournalWindow> window;

    void SetUp() override {
        DataModuleFixture::SetUp();
        dm->login.closingDate = store::DateTime::fromDate(QDate(2005, 3, 15));
    }
    void TearDown() override {
        window.reset();
        DataModuleFixture::TearDown();
    }
    void openCash(const store::BookkeepingPeriod& period = march()) {
        window = std::make_unique<journal::TForm_xjrjz>(nullptr);
        dm->q_xjrjz.openWith(journal::monthQuery(journal::JournalKind::Cash, period));
        show();
    }
    void openBank() {
        window = std::make_unique<journal::TForm_yhrjz>(nullptr);
        window->setAccounts(dm->bankAccountNames());
        dm->q_xjrjz.close();
        show();
    }
    /// Chooses an account as a user does, with the arrow keys in the list.
    void chooseAccount(const QString& account) {
        QComboBox* list = window->accountList();
        const int target = list->findText(account);
        ASSERT_GE(target, 0);
        while (list->currentIndex() < target)
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > target)
            QTest::keyClick(list, Qt::Key_Up);
    }
    void click(const char* name) { testing_support::child<QToolButton>(window.get(), name)->click(); }
    static store::BookkeepingPeriod march() { return store::BookkeepingPeriod(store::DateTime::fromDate(QDate(2005, 3, 1))); }
    QStringList column(const char* field) {
        QStringList values;
        store::Query& q = dm->q_xjrjz;
        for (int row = 0; row < q.recordCount(); ++row)
            values << store::valueToString(q.valueAt(row, q.fieldIndex(QString::fromUtf8(field))),
                                           q.fieldType(q.fieldIndex(QString::fromUtf8(field))));
        return values;
    }

private:
    void show() {
        window->resize(1100, 600);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
};
