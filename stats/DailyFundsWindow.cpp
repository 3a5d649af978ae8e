#include "DailyFundsWindow.h"

#include "DailyFunds.h"
#include "StatisticsFill.h"

#include "lists/DataGrid.h"
#include "store/Currency.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Statement.h"
#include "store/Transaction.h"
#include "ui/ChoiceLists.h"
#include "ui/DataSource.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QLineEdit>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace stats {

namespace {

using lists::FooterKind;
using store::ColumnType;

const QString kAllAccounts = QStringLiteral("全部账户");
const QString kAllBanks = QStringLiteral("全部开户银行");

lists::ListWindowTraits reportTraits() {
    lists::ListWindowTraits traits;
    traits.objectName = QStringLiteral("Form_zjrb");
    traits.title = QStringLiteral("资金日报表");
    traits.hideLimit = 4;
    traits.printTitle = QStringLiteral("资金日报表");
    traits.exportName = QStringLiteral("资金日报表");
    return traits;
}

QList<lists::GridColumn> reportColumns() {
    const QStringList titles = dailyFundsTitles();
    QList<lists::GridColumn> columns;
    const QList<int> widths = {80, 180, 110, 110, 110, 110, 70, 70};
    for (int c = 0; c < titles.size(); ++c)
        columns << lists::GridColumn(titles[c], {}, widths[c], FooterKind::StaticText);
    columns[0].footerText = QStringLiteral("合计");
    return columns;
}

// The rows live in a table of the connection's own temporary database, so
// that the grid, the print preview and the exports read them as any list.
const store::TableDef& reportTable() {
    static const store::TableDef table = {QStringLiteral("temp.资金日报表"),
                                          {{QStringLiteral("日期"), ColumnType::DateTime},
                                           {QStringLiteral("账户"), ColumnType::Text},
                                           {QStringLiteral("上日余额"), ColumnType::Currency},
                                           {QStringLiteral("本日收入"), ColumnType::Currency},
                                           {QStringLiteral("本日支出"), ColumnType::Currency},
                                           {QStringLiteral("本日余额"), ColumnType::Currency},
                                           {QStringLiteral("收入笔数"), ColumnType::Integer},
                                           {QStringLiteral("支出笔数"), ColumnType::Integer}}};
    return table;
}

void storeRows(store::Database& db, const QList<DailyFundsRow>& rows) {
    store::Transaction unit(db);
    db.exec(QStringLiteral("DROP TABLE IF EXISTS temp.资金日报表"));
    store::createTable(db, reportTable());
    store::Statement insert(db, QStringLiteral("INSERT INTO temp.资金日报表 VALUES "
                                               "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"));
    for (const DailyFundsRow& row : rows) {
        insert.reset();
        insert.bind(1, store::DateTime::fromDate(row.day).serial());
        insert.bindText(2, row.account);
        insert.bindInt64(3, row.opening.raw());
        insert.bindInt64(4, row.receipts.raw());
        insert.bindInt64(5, row.payments.raw());
        insert.bindInt64(6, row.closing.raw());
        insert.bindInt64(7, row.receiptCount);
        insert.bindInt64(8, row.paymentCount);
        insert.step();
    }
    unit.commit();
}

} // namespace

/// The window's own query over the report's rows, with the data source its controls follow.
struct TForm_zjrb::Rows {
    store::Query query{&ui::Dm1->ADO_xjrjz};
    ui::DataSource source{&query};
};

TForm_zjrb::TForm_zjrb(QWidget* owner, store::JournalKind kind, const QStringList& bankAccounts)
    : TForm_zjrb(owner, std::make_unique<Rows>(), kind, bankAccounts) {}

TForm_zjrb::TForm_zjrb(QWidget* owner, std::unique_ptr<Rows> rows, store::JournalKind kind,
                       const QStringList& bankAccounts)
    : ListWindow(owner, reportTraits(), &rows->source, reportColumns())
    , m_rows(std::move(rows)) {
    // A report: nothing in it is deleted.
    deleteButton()->hide();

    m_everyDay = new QCheckBox(QStringLiteral("显示每一天"), this);
    m_everyDay->setObjectName(QStringLiteral("CheckBox3"));
    const AccountAndDays criteria =
        addAccountAndDaysCriteria(QStringLiteral("账户："), {m_everyDay});
    m_accounts = criteria.accounts;
    m_from = criteria.from;
    m_to = criteria.to;
    m_show = criteria.show;
    ui::setChoices(m_accounts,
                   QStringList{kAllAccounts, cashAccountName(), kAllBanks} + bankAccounts);
    m_accounts->setCurrentText(kind == store::JournalKind::Bank ? kAllBanks : kAllAccounts);
    for (QLineEdit* field : {m_from, m_to})
        field->setText(store::shortDateText(ui::Dm1->login.closingDate.date()));

    connect(m_show, &QPushButton::clicked, this, &TForm_zjrb::showReport);
}

TForm_zjrb::~TForm_zjrb() {
    // The grid lets go of the query before the query goes.
    grid()->setQuery(nullptr);
}

bool TForm_zjrb::criteria(DailyFundsCriteria& criteria) {
    const DateRangeProblem problem = checkDateRange(m_from->text(), m_to->text());
    if (problem != DateRangeProblem::None) {
        ui::warn(this, dateRangeMessage(problem));
        m_from->setFocus();
        return false;
    }
    criteria.from = store::DateTime::parseDay(m_from->text())->date();
    criteria.to = store::DateTime::parseDay(m_to->text())->date();
    const QString chosen = m_accounts->currentText();
    if (chosen == cashAccountName()) {
        criteria.accounts = DailyAccounts::Cash;
    } else if (chosen == kAllBanks) {
        criteria.accounts = DailyAccounts::Bank;
    } else if (chosen != kAllAccounts) {
        criteria.accounts = DailyAccounts::Bank;
        criteria.bank = chosen;
    }
    criteria.everyDay = m_everyDay->isChecked();
    return true;
}

void TForm_zjrb::showReport() {
    DailyFundsCriteria chosen;
    if (!criteria(chosen))
        return;
    store::Database& db = ui::Dm1->ADO_xjrjz.database();
    DailyFundsReport report;
    try {
        report = dailyFunds(db, chosen);
    } catch (const store::CurrencyOverflow& e) {
        ui::warn(this, e.message());
        return;
    }
    storeRows(db, report.rows);
    m_rows->query.openWith(
        {QStringLiteral("select * from temp.资金日报表"), QStringLiteral(" order by rowid")});
    grid()->setFooterTexts(dailyFundsFooter(report));
}

void openDailyFunds(QWidget* parent, store::JournalKind kind) {
    TForm_zjrb window(parent, kind, ui::Dm1->bankAccountNames());
    // The closing date's report is what a cashier opens the window for.
    window.showReport();
    window.exec();
}

} // namespace stats
