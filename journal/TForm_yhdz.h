#pragma once

#include "BankMatching.h"

#include <QDialog>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lists {
class DataGrid;
}
namespace store {
class Query;
}

namespace journal {

/// "银行对账": an account's bank journal entries and statement lines of a
/// period side by side, those not matched yet, with the automatic matching,
/// the manual match of the rows selected on both sides, and below the
/// matched groups, any of which can be undone.
class TForm_yhdz : public QDialog {
    Q_OBJECT
public:
    explicit TForm_yhdz(QWidget* owner);
    ~TForm_yhdz() override;

    /// The accounts to choose from; nothing is chosen.
    void setAccounts(const QStringList& accounts);

    /// "显示 (&S)": the criteria checked, the three grids filled.
    void showPeriod();
    /// "自动对账 (&A)".
    void matchAutomatically();
    /// "对账 (&M)": the selected entries with the selected lines.
    void matchSelected();
    /// "取消对账 (&U)": the group of the current matched row.
    void unmatchCurrent();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The criteria with their messages and focus; nothing when one fails.
    std::optional<MatchPeriod> checkedPeriod();
    void fill(const MatchPeriod& period);
    void updateSums();
    QList<qint64> selectedIds(const lists::DataGrid* grid) const;
    QString account() const;

    QComboBox* m_account;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QSpinBox* m_days;
    lists::DataGrid* m_entries;
    lists::DataGrid* m_lines;
    lists::DataGrid* m_matched;
    QLabel* m_entrySums;
    QLabel* m_lineSums;
    std::unique_ptr<store::Query> m_entryRows;
    std::unique_ptr<store::Query> m_lineRows;
    std::unique_ptr<store::Query> m_matchedRows;
    // The period the grids show, once shown.
    std::optional<MatchPeriod> m_shown;
};

} // namespace journal
