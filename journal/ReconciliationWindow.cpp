#include "ReconciliationWindow.h"

#include "BankMatching.h"
#include "Reconciliation.h"
#include "ReconciliationLayout.h"

#include "lists/ExportDialog.h"
#include "lists/FlatButton.h"
#include "lists/PrintList.h"
#include "ui/ChoiceLists.h"
#include "ui/Fonts.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace journal {

namespace {

QToolButton* barButton(QWidget* parent, QHBoxLayout* bar, const QString& objectName,
                       const QString& caption, const QKeySequence& key) {
    QToolButton* button = lists::flatButton(parent, objectName, caption);
    ui::giveKey(button, key);
    bar->addWidget(button);
    return button;
}

QLabel* caption(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setFont(ui::songFont(12));
    return label;
}

} // namespace

TForm_yetjb::TForm_yetjb(QWidget* owner, const QStringList& accounts, const QDate& closingDay)
    : QDialog(owner)
    , m_printSetup(reconciliationPrintSetup()) {
    setObjectName(QStringLiteral("Form_yetjb"));
    setWindowTitle(QStringLiteral("余额调节表"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* bar = new QHBoxLayout;
    QToolButton* run =
        barButton(this, bar, QStringLiteral("SpeedButton5"), QStringLiteral("调节"), Qt::Key_F3);
    QToolButton* exporting =
        barButton(this, bar, QStringLiteral("SpeedButton2"), QStringLiteral("导出"), Qt::Key_F9);
    QToolButton* print = barButton(this, bar, QStringLiteral("SpeedButton3"),
                                   QStringLiteral("打印"), QKeySequence::Print);
    QToolButton* close = barButton(this, bar, QStringLiteral("SpeedButton4"),
                                   QStringLiteral("返回"), Qt::ALT | Qt::Key_R);
    bar->addSpacing(16);

    m_accounts = new QComboBox(this);
    m_accounts->setObjectName(QStringLiteral("ComboBox1"));
    m_accounts->setMinimumWidth(180);
    ui::setChoices(m_accounts, accounts);
    if (accounts.size() == 1)
        m_accounts->setCurrentIndex(0);
    bar->addWidget(caption(this, QStringLiteral("开户银行：")));
    bar->addWidget(m_accounts);

    m_month = new QDateEdit(closingDay, this);
    m_month->setObjectName(QStringLiteral("DateTimePicker1"));
    m_month->setDisplayFormat(QStringLiteral("yyyy-MM"));
    m_month->setMinimumDate(QDate(1900, 1, 1));
    m_month->setMaximumDate(QDate(9999, 12, 31));
    bar->addWidget(caption(this, QStringLiteral("月份：")));
    bar->addWidget(m_month);
    bar->addStretch();
    layout->addLayout(bar);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setFont(ui::songFont(12));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTextElideMode(Qt::ElideNone);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid, 1);

    m_verdict = new QLabel(this);
    m_verdict->setObjectName(QStringLiteral("Label1"));
    m_verdict->setFont(ui::songFont(16, true));
    m_verdict->setContentsMargins(4, 4, 4, 8);
    layout->addWidget(m_verdict);

    ui::enterMovesTo(m_accounts, m_month);
    ui::enterClicks(m_month, run);
    connect(run, &QToolButton::clicked, this, &TForm_yetjb::reconcile);
    connect(exporting, &QToolButton::clicked, this, &TForm_yetjb::exportStatement);
    connect(print, &QToolButton::clicked, this, &TForm_yetjb::printStatement);
    connect(close, &QToolButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(m_accounts, &QComboBox::textActivated, this, &TForm_yetjb::reconcile);

    setWindowState(Qt::WindowMaximized);
    m_accounts->setFocus();
    // With the one account chosen already, the statement shows as the window opens.
    if (accounts.size() == 1)
        QTimer::singleShot(0, this, &TForm_yetjb::reconcile);
}

TForm_yetjb::~TForm_yetjb() = default;

bool TForm_yetjb::reconcile() {
    const QString account = m_accounts->currentText();
    if (account.isEmpty()) {
        ui::warn(this, QStringLiteral("请先选择开户银行!"));
        m_accounts->setFocus();
        return false;
    }
    const QDate day = monthEnd(m_month->date());
    const Reconciliation r = journal::reconcile(ui::Dm1->ADO_xjrjz.database(), account, day);
    if (r.gap != ReconciliationGap::None) {
        display({}, QString(), true);
        ui::warn(this, gapMessage(r));
        return false;
    }
    QString verdict = agreementText(r);
    if (!r.agrees())
        verdict += QLatin1Char(' ') + BankMatching::amountText(r.difference());
    display(reconciliationTable(r), verdict, r.agrees());
    m_exportName = account + QStringLiteral("余额调节表") + day.toString(QStringLiteral("yyyy-MM"));
    return true;
}

void TForm_yetjb::printStatement() {
    if (!reconcile())
        return;
    lists::setStandardSubstitutions(m_printSetup, ui::Dm1->login.operatorName,
                                    QDateTime::currentDateTime());
    lists::printList(this, m_printSetup, [this] { return m_table; });
}

void TForm_yetjb::exportStatement() {
    if (reconcile())
        lists::exportWithDialog(this, m_exportName, [this] { return m_table; });
}

void TForm_yetjb::display(const lists::TableSnapshot& table, const QString& verdict, bool agrees) {
    m_table = table;
    m_grid->clear();
    m_grid->setColumnCount(int(table.columns.size()));
    m_grid->setRowCount(int(table.rows.size()));
    QStringList titles;
    for (const lists::SnapshotColumn& column : table.columns)
        titles << column.title;
    m_grid->setHorizontalHeaderLabels(titles);
    for (int row = 0; row < table.rows.size(); ++row) {
        for (int c = 0; c < table.rows[row].size(); ++c) {
            auto* item = new QTableWidgetItem(table.rows[row][c].text);
            item->setTextAlignment(table.columns[c].alignment | Qt::AlignVCenter);
            m_grid->setItem(row, c, item);
        }
    }
    // Dates and amounts as wide as their longest text and a margin; the items share the rest.
    QHeaderView* header = m_grid->horizontalHeader();
    for (int c = 0; c < table.columns.size(); ++c) {
        if (!table.columns[c].keepWhole) {
            header->setSectionResizeMode(c, QHeaderView::Stretch);
            continue;
        }
        header->setSectionResizeMode(c, QHeaderView::Interactive);
        m_grid->resizeColumnToContents(c);
        m_grid->setColumnWidth(c, m_grid->columnWidth(c) + 16);
    }
    m_verdict->setText(verdict);
    m_verdict->setStyleSheet(agrees ? QString() : QStringLiteral("color: #C00000"));
}

void TForm_yetjb::keyPressEvent(QKeyEvent* event) {
    // Left by "返回" (or its close box) as the list windows are; Esc is no key of it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace journal
