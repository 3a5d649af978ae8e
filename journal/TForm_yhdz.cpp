#include "TForm_yhdz.h"

#include "SearchCriteria.h"

#include "lists/DataGrid.h"
#include "store/BookkeepingPeriod.h"
#include "store/Query.h"
#include "ui/ChoiceLists.h"
#include "ui/DateField.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace journal {

namespace {

using lists::FooterKind;
using lists::GridColumn;

const QString kCount = QStringLiteral("记录数");

QList<GridColumn> entryColumns() {
    return {{QStringLiteral("日期"), {}, 80, FooterKind::StaticText, kCount},
            {QStringLiteral("凭证号"), {}, 70, FooterKind::Count},
            {QStringLiteral("摘要"), {}, 140},
            {QStringLiteral("借方"), {}, 100, FooterKind::Sum},
            {QStringLiteral("贷方"), {}, 100, FooterKind::Sum}};
}

QList<GridColumn> lineColumns() {
    return {{QStringLiteral("日期"), {}, 80, FooterKind::StaticText, kCount},
            {QStringLiteral("流水号"), {}, 90, FooterKind::Count},
            {QStringLiteral("摘要"), {}, 140},
            {QStringLiteral("收入"), {}, 100, FooterKind::Sum},
            {QStringLiteral("支出"), {}, 100, FooterKind::Sum}};
}

QList<GridColumn> matchedColumns() {
    return {{QStringLiteral("组号"), {}, 50, FooterKind::StaticText, kCount},
            {QStringLiteral("类别"), {}, 60, FooterKind::Count},
            {QStringLiteral("日期"), {}, 80},
            {QStringLiteral("号码"), QStringLiteral("凭证号/流水号"), 100},
            {QStringLiteral("摘要"), {}, 180},
            {QStringLiteral("收入"), QStringLiteral("借方/收入"), 100},
            {QStringLiteral("支出"), QStringLiteral("贷方/支出"), 100},
            {QStringLiteral("操作员"), {}, 80},
            {QStringLiteral("操作日期"), {}, 140}};
}

lists::DataGrid* makeGrid(QWidget* parent, const QString& objectName,
                          const QList<GridColumn>& columns, store::Query* rows, bool severalRows) {
    auto* grid = new lists::DataGrid(parent);
    grid->setObjectName(objectName);
    grid->setFontSizes(12, 12);
    grid->setDichromatic(true);
    grid->setCopyAndSelectAll(severalRows);
    grid->setColumns(columns);
    grid->setQuery(rows);
    grid->setFitToWidth(true);
    return grid;
}

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QVBoxLayout* titled(QWidget* parent, const QString& title, QWidget* grid,
                    QWidget* below = nullptr) {
    auto* box = new QVBoxLayout;
    box->addWidget(new QLabel(title, parent));
    box->addWidget(grid, 1);
    if (below)
        box->addWidget(below);
    return box;
}

// The sums of some rows' two amount columns.
std::pair<store::Currency, store::Currency> sumsOf(store::Query& rows, const QList<int>& at,
                                                   const QString& first, const QString& second) {
    const int a = rows.fieldIndex(first);
    const int b = rows.fieldIndex(second);
    store::Currency sumA;
    store::Currency sumB;
    for (const int row : at) {
        sumA += store::Currency::fromRaw(rows.valueAt(row, a).toLongLong());
        sumB += store::Currency::fromRaw(rows.valueAt(row, b).toLongLong());
    }
    return {sumA, sumB};
}

QList<int> selectedRows(const lists::DataGrid* grid) {
    QList<int> rows;
    for (const QModelIndex& index : grid->view()->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

TForm_yhdz::TForm_yhdz(QWidget* owner)
    : QDialog(owner)
    , m_entryRows(std::make_unique<store::Query>(&ui::Dm1->ADO_xjrjz))
    , m_lineRows(std::make_unique<store::Query>(&ui::Dm1->ADO_xjrjz))
    , m_matchedRows(std::make_unique<store::Query>(&ui::Dm1->ADO_xjrjz)) {
    setObjectName(QStringLiteral("Form_yhdz"));
    setWindowTitle(QStringLiteral("银行对账"));
    setModal(true);

    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("ComboBox1"));
    m_account->setMinimumWidth(180);
    m_from = new ui::DateField(this);
    m_from->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
    m_to = new ui::DateField(this);
    m_to->setObjectName(QStringLiteral("DBDateTimeEditEh2"));
    const store::BookkeepingPeriod month(ui::Dm1->login.closingDate);
    m_from->setText(month.firstDayText());
    m_to->setText(month.lastDayText());
    m_days = new QSpinBox(this);
    m_days->setObjectName(QStringLiteral("SpinEdit1"));
    m_days->setRange(0, 99);
    m_days->setValue(3);
    QPushButton* show =
        makeButton(this, QStringLiteral("bitbtn_seek"), QStringLiteral("显示 (&S)"));
    QPushButton* automatic =
        makeButton(this, QStringLiteral("bitbtn_auto"), QStringLiteral("自动对账 (&A)"));
    QPushButton* match =
        makeButton(this, QStringLiteral("bitbtn_match"), QStringLiteral("对账 (&M)"));
    QPushButton* unmatch =
        makeButton(this, QStringLiteral("bitbtn_unmatch"), QStringLiteral("取消对账 (&U)"));
    QPushButton* close =
        makeButton(this, QStringLiteral("bitbtn_close"), QStringLiteral("返回 (&R)"));

    auto* criteria = new QHBoxLayout;
    criteria->addWidget(new QLabel(QStringLiteral("开户银行："), this));
    criteria->addWidget(m_account);
    criteria->addSpacing(12);
    criteria->addWidget(new QLabel(QStringLiteral("日期  从："), this));
    criteria->addWidget(m_from);
    criteria->addWidget(new QLabel(QStringLiteral("到："), this));
    criteria->addWidget(m_to);
    criteria->addSpacing(12);
    criteria->addWidget(new QLabel(QStringLiteral("日期相差不超过"), this));
    criteria->addWidget(m_days);
    criteria->addWidget(new QLabel(QStringLiteral("天"), this));
    criteria->addSpacing(12);
    criteria->addWidget(show);
    criteria->addWidget(automatic);
    criteria->addStretch();
    criteria->addWidget(close);

    m_entries =
        makeGrid(this, QStringLiteral("DBGridEh1"), entryColumns(), m_entryRows.get(), true);
    m_lines = makeGrid(this, QStringLiteral("DBGridEh2"), lineColumns(), m_lineRows.get(), true);
    m_matched =
        makeGrid(this, QStringLiteral("DBGridEh3"), matchedColumns(), m_matchedRows.get(), false);
    m_entrySums = new QLabel(this);
    m_entrySums->setObjectName(QStringLiteral("Label1"));
    m_lineSums = new QLabel(this);
    m_lineSums->setObjectName(QStringLiteral("Label2"));

    auto* sides = new QHBoxLayout;
    sides->addLayout(
        titled(this, QStringLiteral("银行日记帐中未对账的记录："), m_entries, m_entrySums), 1);
    sides->addLayout(
        titled(this, QStringLiteral("银行对账单中未对账的记录："), m_lines, m_lineSums), 1);
    auto* matchRow = new QHBoxLayout;
    matchRow->addWidget(new QLabel(
        QStringLiteral("在左右两边各选择一条或几条记录（按住 Ctrl 或 Shift 点击选择几条），"
                       "两边的金额合计相等时可以对账。"),
        this));
    matchRow->addStretch();
    matchRow->addWidget(match);
    auto* unmatchRow = new QHBoxLayout;
    unmatchRow->addWidget(new QLabel(QStringLiteral("已对账的记录（组号相同的为一组）："), this));
    unmatchRow->addStretch();
    unmatchRow->addWidget(unmatch);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(criteria);
    layout->addLayout(sides, 3);
    layout->addLayout(matchRow);
    layout->addLayout(unmatchRow);
    layout->addWidget(m_matched, 2);

    ui::enterMovesTo(m_account, m_from);
    ui::enterMovesTo(m_from, m_to);
    ui::enterMovesTo(m_to, m_days);
    ui::enterClicks(m_days, show);
    connect(m_account, &QComboBox::textActivated, this, &TForm_yhdz::showPeriod);
    connect(show, &QPushButton::clicked, this, &TForm_yhdz::showPeriod);
    connect(automatic, &QPushButton::clicked, this, &TForm_yhdz::matchAutomatically);
    connect(match, &QPushButton::clicked, this, &TForm_yhdz::matchSelected);
    connect(unmatch, &QPushButton::clicked, this, &TForm_yhdz::unmatchCurrent);
    connect(close, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    for (lists::DataGrid* grid : {m_entries, m_lines}) {
        connect(grid->view()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TForm_yhdz::updateSums);
    }
    updateSums();
    setWindowState(Qt::WindowMaximized);
    m_account->setFocus();
}

TForm_yhdz::~TForm_yhdz() = default;

void TForm_yhdz::setAccounts(const QStringList& accounts) {
    ui::setChoices(m_account, accounts);
}

QString TForm_yhdz::account() const {
    return m_account->currentText();
}

void TForm_yhdz::keyPressEvent(QKeyEvent* event) {
    // Like a list window, the window is left by "返回" or its close box, not by Esc.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        return;
    QDialog::keyPressEvent(event);
}

std::optional<MatchPeriod> TForm_yhdz::checkedPeriod() {
    SearchFields fields;
    fields.bankAccount = account();
    fields.dateFrom = m_from->text();
    fields.dateTo = m_to->text();
    const SearchProblem problem = SearchCriteria::check(JournalKind::Bank, fields);
    if (problem == SearchProblem::NoBankAccount) {
        ui::warn(this, SearchCriteria::problemText(problem));
        m_account->setFocus();
        return std::nullopt;
    }
    if (fields.dateFrom.trimmed().isEmpty() && fields.dateTo.trimmed().isEmpty()) {
        ui::warn(this, QStringLiteral("日期不能为空,请重新输入!"));
        m_from->setFocus();
        return std::nullopt;
    }
    if (problem != SearchProblem::None) {
        ui::warn(this, SearchCriteria::problemText(problem));
        m_from->setFocus();
        return std::nullopt;
    }
    return MatchPeriod{store::DateTime::parseDay(fields.dateFrom)->date(),
                       store::DateTime::parseDay(fields.dateTo)->date()};
}

void TForm_yhdz::fill(const MatchPeriod& period) {
    m_shown = period;
    m_entryRows->openWith(BankMatching::unmatchedEntriesStatement(account(), period));
    m_lineRows->openWith(BankMatching::unmatchedLinesStatement(account(), period));
    m_matchedRows->openWith(BankMatching::matchedStatement(account(), period));
    // Nothing stands selected until the cashier picks the rows to match.
    m_entries->view()->clearSelection();
    m_lines->view()->clearSelection();
    updateSums();
}

void TForm_yhdz::showPeriod() {
    if (const std::optional<MatchPeriod> period = checkedPeriod())
        fill(*period);
}

void TForm_yhdz::matchAutomatically() {
    const std::optional<MatchPeriod> period = checkedPeriod();
    if (!period)
        return;
    BankMatching matching(ui::Dm1->ADO_xjrjz.database(), ui::Dm1->login.operatorName);
    const qsizetype made = matching.matchAutomatically(account(), *period, m_days->value()).size();
    fill(*period);
    ui::inform(this, QStringLiteral("自动对账完成，对上 %1 对记录！").arg(made));
}

QList<qint64> TForm_yhdz::selectedIds(const lists::DataGrid* grid) const {
    store::Query* rows = grid->query();
    QList<qint64> ids;
    if (!rows->isOpen())
        return ids;
    const int id = rows->fieldIndex(QStringLiteral("编号"));
    for (const int row : selectedRows(grid))
        ids << rows->valueAt(row, id).toLongLong();
    return ids;
}

void TForm_yhdz::matchSelected() {
    if (!m_shown) {
        ui::warn(this, SearchCriteria::problemText(SearchProblem::NoBankAccount));
        m_account->setFocus();
        return;
    }
    BankMatching matching(ui::Dm1->ADO_xjrjz.database(), ui::Dm1->login.operatorName);
    const ManualMatch made = matching.match(selectedIds(m_entries), selectedIds(m_lines));
    if (!made.refusal.isEmpty()) {
        ui::warn(this, made.refusal);
        return;
    }
    fill(*m_shown);
}

void TForm_yhdz::unmatchCurrent() {
    store::Query& rows = *m_matchedRows;
    if (!rows.isOpen() || rows.isEmpty()) {
        ui::warn(this, QStringLiteral("没有可以取消的对账记录！"));
        return;
    }
    const qint64 group = rows.fieldByName(QStringLiteral("组号")).asInteger();
    if (!ui::ask(this, QStringLiteral("确实要取消第 %1 组的对账吗? ").arg(group)))
        return;
    BankMatching(ui::Dm1->ADO_xjrjz.database(), ui::Dm1->login.operatorName).unmatch(group);
    fill(*m_shown);
}

void TForm_yhdz::updateSums() {
    const auto text = [](store::Query& rows, const QList<int>& at, const QString& first,
                         const QString& second) {
        const auto [a, b] = rows.isOpen() ? sumsOf(rows, at, first, second)
                                          : std::pair<store::Currency, store::Currency>();
        return QStringLiteral("已选 %1 条    %2合计 %3    %4合计 %5")
            .arg(at.size())
            .arg(first, BankMatching::amountText(a), second, BankMatching::amountText(b));
    };
    m_entrySums->setText(text(*m_entryRows, selectedRows(m_entries), QStringLiteral("借方"),
                              QStringLiteral("贷方")));
    m_lineSums->setText(
        text(*m_lineRows, selectedRows(m_lines), QStringLiteral("收入"), QStringLiteral("支出")));
}

} // namespace journal
