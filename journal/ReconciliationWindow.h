#pragma once

#include "lists/PrintSetup.h"
#include "lists/TableSnapshot.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;
class QToolButton;

namespace journal {

/// "余额调节表": the reconciliation statement of the chosen bank account at
/// the end of the chosen month, shown as the table that 打印 and 导出 put out,
/// with whether the adjusted balances agree written plainly below it.
class TForm_yetjb : public QDialog {
    Q_OBJECT
public:
    /// Opens on the month of `closingDay`, with no account chosen unless the
    /// book has only one.
    TForm_yetjb(QWidget* owner, const QStringList& accounts, const QDate& closingDay);
    ~TForm_yetjb() override;

    /// "调节": reconciles the chosen account at the month's end and shows it;
    /// false, after a 提示, when there is no account or no statement to do it with.
    bool reconcile();
    /// "打印": the statement, reconciled afresh, in the print preview.
    void printStatement();
    /// "导出": the statement, reconciled afresh, written to a file the user names.
    void exportStatement();

    /// The table shown; empty before the first reconciliation.
    const lists::TableSnapshot& shown() const { return m_table; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void display(const lists::TableSnapshot& table, const QString& verdict, bool agrees);

    QComboBox* m_accounts;
    QDateEdit* m_month;
    QTableWidget* m_grid;
    QLabel* m_verdict;
    lists::TableSnapshot m_table;
    QString m_exportName;
    lists::PrintSetup m_printSetup;
};

} // namespace journal
