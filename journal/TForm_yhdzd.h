#pragma once

#include "lists/ListWindow.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace journal {

/// "银行对账单": the lines of one bank account's statements over a span of
/// days, with their count and sums and whether each is matched; "导入"
/// brings a statement file in, "删除" takes out a line not matched.
class TForm_yhdzd : public lists::ListWindow {
    Q_OBJECT
public:
    /// The days start as the month of the closing date; no account is chosen.
    explicit TForm_yhdzd(QWidget* owner);
    ~TForm_yhdzd() override;

    /// Fills the account list; no account is chosen yet.
    void setAccounts(const QStringList& accounts);
    QComboBox* accountList() const { return m_accounts; }
    QString chosenAccount() const;

    /// "查询 (&F)": after the date checks, the account's lines of the span.
    void showLines();
    /// "导入": a statement file the user picks, then what came of it.
    void importStatement();
    /// "删除": after confirmation, the current line, unless it is matched.
    void deleteLine();

protected:
    bool readyToPrintOrExport() override;
    QString exportName() const override;
    QString printTitle() const override;

private:
    struct Lines;
    TForm_yhdzd(QWidget* owner, std::unique_ptr<Lines> lines);
    bool accountChosen();
    void reopen(const QDate& from, const QDate& to);

    std::unique_ptr<Lines> m_lines;
    QComboBox* m_accounts;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QPushButton* m_show;
};

} // namespace journal
