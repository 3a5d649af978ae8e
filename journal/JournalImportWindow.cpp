#include "JournalImportWindow.h"

#include "ImportPreview.h"

#include "store/JournalKind.h"
#include "ui/ChoiceLists.h"
#include "ui/Choosers.h"
#include "ui/CopyProgress.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace journal {

namespace {

// The first choice of the account list: each row's account from the file.
QString fileColumnChoice() {
    return QStringLiteral("按文件中的开户银行列");
}

QTableWidgetItem* cellItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

JournalImportWindow::JournalImportWindow(QWidget* owner, store::JournalKind kind)
    : QDialog(owner)
    , m_kind(kind) {
    setObjectName(QStringLiteral("JournalImportWindow"));
    setWindowTitle(QStringLiteral("导入") + store::journalTable(kind));
    resize(900, 560);

    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("fileName"));
    m_file->setReadOnly(true);
    m_choose = new QPushButton(QStringLiteral("选择文件 (&O)"), this);
    m_choose->setObjectName(QStringLiteral("chooseFile"));
    m_addSummaries = new QCheckBox(QStringLiteral("加入摘要设置中没有的摘要"), this);
    m_addSummaries->setObjectName(QStringLiteral("addSummaries"));
    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->verticalHeader()->hide();
    m_preview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_summary = new QLabel(QStringLiteral("请选择要导入的文件（txt、csv、xls、xlsx）。"), this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_import = new QPushButton(QStringLiteral("导入 (&I)"), this);
    m_import->setObjectName(QStringLiteral("importButton"));
    m_import->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("关闭 (&C)"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* button : {m_choose, m_import, close})
        button->setAutoDefault(false);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("文件："), this));
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(m_choose);
    auto* choices = new QHBoxLayout;
    if (kind == store::JournalKind::Bank) {
        m_accounts = new QComboBox(this);
        m_accounts->setObjectName(QStringLiteral("accounts"));
        m_accounts->setMinimumWidth(200);
        setAccounts({});
        choices->addWidget(new QLabel(QStringLiteral("开户银行："), this));
        choices->addWidget(m_accounts);
        choices->addSpacing(16);
        ui::enterMovesTo(m_accounts, m_addSummaries);
        connect(m_accounts, &QComboBox::currentIndexChanged, this, &JournalImportWindow::check);
    }
    choices->addWidget(m_addSummaries);
    choices->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_import);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(choices);
    layout->addWidget(m_preview, 1);
    layout->addLayout(buttons);

    m_choose->setFocus();
    connect(m_choose, &QPushButton::clicked, this, &JournalImportWindow::chooseFile);
    connect(m_addSummaries, &QCheckBox::toggled, this, &JournalImportWindow::check);
    connect(m_import, &QPushButton::clicked, this, &JournalImportWindow::importRows);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void JournalImportWindow::setAccounts(const QStringList& accounts) {
    if (!m_accounts)
        return;
    const QSignalBlocker quiet(m_accounts);
    ui::setChoices(m_accounts, QStringList{fileColumnChoice()} + accounts);
    m_accounts->setCurrentIndex(0);
}

ImportOptions JournalImportWindow::options(bool dryRun) const {
    ImportOptions options;
    options.kind = m_kind;
    if (m_accounts && m_accounts->currentIndex() > 0)
        options.bankAccount = m_accounts->currentText();
    options.operatorName = ui::Dm1->login.operatorName;
    options.addSummaries = m_addSummaries->isChecked();
    options.dryRun = dryRun;
    options.addSummariesChoice = QStringLiteral("或选中“加入摘要设置中没有的摘要”");
    options.chosenAccountName = QStringLiteral("所选的");
    return options;
}

void JournalImportWindow::chooseFile() {
    const QString path = ui::chooseOpenFile(
        this, QStringLiteral("导入日记帐"),
        QStringLiteral("日记帐文件 (*.txt;*.csv;*.xls;*.xlsx)|*.txt;*.csv;*.xls;*.xlsx|"
                       "所有文件 (*.*)|*.*"));
    if (path.isEmpty())
        return;
    if (ui::writesOverTheBook(path)) {
        ui::warn(this, QStringLiteral("不能从数据库文件或属于它的文件导入，请另选文件！"));
        return;
    }
    forgetFile();
    try {
        m_rows = lists::readImportFile(path);
    } catch (const lists::ImportFileError& e) {
        ui::warn(this, e.message());
        return;
    }
    m_file->setText(QFileInfo(path).absoluteFilePath());
    check();
}

void JournalImportWindow::forgetFile() {
    m_rows.clear();
    m_file->clear();
    m_preview->clear();
    m_preview->setRowCount(0);
    m_preview->setColumnCount(0);
    m_import->setEnabled(false);
}

std::optional<ImportResult> JournalImportWindow::runImport(bool dryRun) {
    try {
        ui::CopyProgress progress(
            this, dryRun ? QStringLiteral("正在检查文件中的记录……") : QStringLiteral("正在导入……"),
            windowTitle());
        ImportOptions run = options(dryRun);
        run.progress = progress.callback();
        return importJournal(ui::Dm1->ADO_xjrjz, m_rows, run);
    } catch (const lists::ImportFileError& e) {
        ui::warn(this, e.message());
        return std::nullopt;
    }
}

void JournalImportWindow::check() {
    if (m_rows.isEmpty())
        return;
    const std::optional<ImportResult> checked = runImport(true);
    if (!checked) {
        forgetFile();
        m_summary->clear();
        return;
    }
    showChecked(*checked);
}

void JournalImportWindow::showChecked(const ImportResult& checked) {
    const QStringList titles = m_rows.first().cells;
    const QList<PreviewLine> lines = importPreview(m_rows, checked);
    m_preview->clear();
    // The check result comes right after the line number, so that a reason is
    // read without scrolling past the file's columns.
    m_preview->setColumnCount(int(titles.size()) + 2);
    m_preview->setHorizontalHeaderLabels(
        QStringList{QStringLiteral("行号"), QStringLiteral("检查结果")} + titles);
    m_preview->setRowCount(int(lines.size()));
    const int resultColumn = 1;
    for (int r = 0; r < lines.size(); ++r) {
        const PreviewLine& line = lines[r];
        m_preview->setItem(r, 0, cellItem(QString::number(line.line)));
        for (int c = 0; c < line.cells.size() && c < titles.size(); ++c)
            m_preview->setItem(r, c + 2, cellItem(line.cells[c]));
        QTableWidgetItem* result = cellItem(line.result);
        if (line.refused)
            result->setForeground(Qt::red);
        m_preview->setItem(r, resultColumn, result);
    }
    m_preview->resizeColumnsToContents();
    m_summary->setText(previewSummary(checked));
    m_import->setEnabled(checked.refused.isEmpty() && checked.entries > 0);
}

void JournalImportWindow::importRows() {
    if (m_rows.isEmpty() || !m_import->isEnabled())
        return;
    const std::optional<ImportResult> imported = runImport(false);
    if (!imported)
        return;
    const ImportResult& result = *imported;
    if (!result.written) {
        // The book changed since the check (a summary or an account gone): show why.
        showChecked(result);
        return;
    }
    m_import->setEnabled(false);
    m_rows.clear();
    m_summary->setText(QStringLiteral("已导入 %1 条记录。").arg(result.entries));
    ui::inform(this, QStringLiteral("已把 %1 条记录导入%2，重新计算了 %3 个月份的余额。")
                         .arg(result.entries)
                         .arg(store::journalTable(m_kind))
                         .arg(result.recomputedMonths));
}

} // namespace journal
