#pragma once

#include "JournalImport.h"

#include "lists/ImportFileReader.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace journal {

/// "导入日记帐": a file of journal rows (txt, csv, xls, xlsx) checked row by
/// row and shown with each row's result; "导入" brings all of them into the
/// journal, in one go, once every row passes.
class JournalImportWindow : public QDialog {
    Q_OBJECT
public:
    JournalImportWindow(QWidget* owner, store::JournalKind kind);

    /// Bank journal: the accounts offered beside the file's own 开户银行 column.
    void setAccounts(const QStringList& accounts);

    /// "选择文件": a file the user picks, read and checked.
    void chooseFile();
    /// Checks the rows read again, as the choices now stand.
    void check();
    /// "导入": every row into the journal, then how many.
    void importRows();

    QTableWidget* preview() const { return m_preview; }

private:
    ImportOptions options(bool dryRun) const;
    /// Checks (a dry run) or imports the rows read, under a progress dialog;
    /// nothing, with the reason shown, when the file's titles do not fit.
    std::optional<ImportResult> runImport(bool dryRun);
    void showChecked(const ImportResult& checked);
    void forgetFile();

    store::JournalKind m_kind;
    QList<lists::ImportRow> m_rows;
    QLineEdit* m_file;
    QPushButton* m_choose;
    QComboBox* m_accounts = nullptr;
    QCheckBox* m_addSummaries;
    QTableWidget* m_preview;
    QLabel* m_summary;
    QPushButton* m_import;
};

} // namespace journal
