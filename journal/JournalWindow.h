#pragma once

#include "JournalKind.h"

#include "lists/ListWindow.h"

class QComboBox;
class QLabel;
class QToolButton;

namespace store {
class BookkeepingPeriod;
}

namespace journal {

/// The cashier's working view of one journal: the month being kept (bank: of
/// one chosen account) with its count and sums; editing, searching, deleting,
/// printing, export and the balance recomputation start here.
class JournalWindow : public lists::ListWindow {
    Q_OBJECT
public:
    JournalWindow(QWidget* owner, JournalKind kind);

    JournalKind kind() const { return m_kind; }
    /// The bank window's account list, filled by the command that opens it.
    QComboBox* accountList() const { return m_accounts; }
    /// Fills the bank window's account list; no account is chosen yet.
    void setAccounts(const QStringList& accounts);
    QString chosenAccount() const;

    /// "整理": after confirmation, recomputes the month's balances.
    void tidy();
    /// "编辑" and the double click: the entry editor, then the recomputation.
    void editEntries();
    /// "查询": the search over every month.
    void search();

protected:
    bool readyToPrintOrExport() override;
    QString exportName() const override;
    void rowAction() override { editEntries(); }
    void blankAction() override { editEntries(); }

private:
    store::BookkeepingPeriod period() const;
    bool accountChosen();
    void recompute();
    void chooseAccount(const QString& account);

    JournalKind m_kind;
    QComboBox* m_accounts = nullptr;
};

/// The cash journal window, "现金日记账".
class TForm_xjrjz : public JournalWindow {
    Q_OBJECT
public:
    explicit TForm_xjrjz(QWidget* owner) : JournalWindow(owner, JournalKind::Cash) {}
};

/// The bank journal window, "银行日记账".
class TForm_yhrjz : public JournalWindow {
    Q_OBJECT
public:
    explicit TForm_yhrjz(QWidget* owner) : JournalWindow(owner, JournalKind::Bank) {}
};

} // namespace journal
