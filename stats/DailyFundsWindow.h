#pragma once

#include "store/JournalKind.h"

#include "lists/ListWindow.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace stats {

struct DailyFundsCriteria;

/// "资金日报表": for each account and day of a range, the balance before the
/// day, the day's receipts and payments and the balance after them, with a
/// subtotal per day when several accounts are chosen and the range's totals
/// in the footer.
class TForm_zjrb : public lists::ListWindow {
    Q_OBJECT
public:
    /// Both days start as the closing date. The accounts start as all of them
    /// from the cash journal, as every bank account from the bank journal.
    TForm_zjrb(QWidget* owner, store::JournalKind kind, const QStringList& bankAccounts);
    ~TForm_zjrb() override;

    /// "查询 (&F)": after the date checks, the report of the chosen days and accounts.
    void showReport();

private:
    struct Rows;
    TForm_zjrb(QWidget* owner, std::unique_ptr<Rows> rows, store::JournalKind kind,
               const QStringList& bankAccounts);
    bool criteria(DailyFundsCriteria& criteria);

    std::unique_ptr<Rows> m_rows;
    QComboBox* m_accounts;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QCheckBox* m_everyDay;
    QPushButton* m_show;
};

/// Opens the window over the main window, showing the closing date's report,
/// until it is closed.
void openDailyFunds(QWidget* parent, store::JournalKind kind);

} // namespace stats
