#include "TForm_yhdzd.h"

#include "BankMatching.h"
#include "SearchCriteria.h"
#include "StatementImport.h"

#include "lists/DataGrid.h"
#include "store/DateTime.h"
#include "store/Query.h"
#include "store/SqlText.h"
#include "store/Statement.h"
#include "store/Transaction.h"
#include "ui/ChoiceLists.h"
#include "ui/Choosers.h"
#include "ui/DataSource.h"
#include "ui/KeyRules.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QLineEdit>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace journal {

namespace {

using lists::FooterKind;

// The refused lines a box lists; a file with more says how many more.
constexpr int kListedRefusals = 10;

lists::ListWindowTraits statementTraits() {
    lists::ListWindowTraits traits;
    traits.objectName = QStringLiteral("Form_yhdzd");
    traits.title = QStringLiteral("银行对账单");
    traits.hideLimit = 4;
    traits.deleteNeeds = lists::ListWindowTraits::DeleteNeeds::OpenQueryAndRecords;
    traits.printTitle = QStringLiteral("银行对账单打印清单");
    traits.exportName = QStringLiteral("银行对账单");
    return traits;
}

QList<lists::GridColumn> statementColumns() {
    return {
        {QStringLiteral("日期"), {}, 80, FooterKind::StaticText, QStringLiteral("记录数")},
        {QStringLiteral("摘要"), {}, 180, FooterKind::Count},
        {QStringLiteral("收入"), {}, 100, FooterKind::Sum},
        {QStringLiteral("支出"), {}, 100, FooterKind::Sum},
        {QStringLiteral("余额"), {}, 100},
        {QStringLiteral("流水号"), {}, 140},
        {QStringLiteral("对方户名"), {}, 200},
        {QStringLiteral("已对账"), {}, 60},
    };
}

// SQL that is true when the line numbered by `line` belongs to a match that
// holds, as the matching counts matches: a broken one holds nothing.
QString heldByIntactMatch(const QString& line) {
    return QStringLiteral("exists (select 1 from 银行对账 m where m.对账单编号 = %1 and %2)")
        .arg(line, BankMatching::intactGroup(QStringLiteral("m.组号")));
}

QString dayText(const QDate& day) {
    return store::DateTime::fromDate(day).toShortDateString();
}

// The box that keeps a refused file out: its bad lines with their reasons.
QString refusalText(const QString& file, const QList<RefusedStatementLine>& refused) {
    QStringList lines = {QStringLiteral("文件 %1 中有 %2 行不能导入，没有导入任何记录：")
                             .arg(file)
                             .arg(refused.size())};
    for (qsizetype i = 0; i < refused.size() && i < kListedRefusals; ++i) {
        QString text = refused[i].text;
        text.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << QStringLiteral("第 %1 行：%2").arg(refused[i].line).arg(refused[i].reason)
              << QStringLiteral("    ") + text;
    }
    if (refused.size() > kListedRefusals)
        lines << QStringLiteral("……另有 %1 行").arg(refused.size() - kListedRefusals);
    return lines.join(QLatin1Char('\n'));
}

/// The wait cursor while a file is read and checked, on the one thread.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

/// The window's own query over 银行对账单, with the data source its controls follow.
struct TForm_yhdzd::Lines {
    store::Query query{&ui::Dm1->ADO_xjrjz};
    ui::DataSource source{&query};
};

TForm_yhdzd::TForm_yhdzd(QWidget* owner)
    : TForm_yhdzd(owner, std::make_unique<Lines>()) {}

TForm_yhdzd::TForm_yhdzd(QWidget* owner, std::unique_ptr<Lines> lines)
    : ListWindow(owner, statementTraits(), &lines->source, statementColumns())
    , m_lines(std::move(lines)) {
    QToolButton* import = addButton(QStringLiteral("SpeedButton5"), QStringLiteral("导入"));
    import->setToolTip(QStringLiteral("导入网上银行导出的对账单文件（csv、xls、xlsx）"));
    ui::giveKey(import, Qt::Key_F5);
    arrangeButtons({QStringLiteral("SpeedButton5"), QStringLiteral("SpeedButton2"),
                    QStringLiteral("SpeedButton1"), QStringLiteral("SpeedButton3"),
                    QStringLiteral("SpeedButton4")});
    connect(import, &QToolButton::clicked, this, &TForm_yhdzd::importStatement);
    // A matched line stays: its match must be undone first.
    disconnect(deleteButton(), &QToolButton::clicked, this, &ListWindow::deleteRecord);
    connect(deleteButton(), &QToolButton::clicked, this, &TForm_yhdzd::deleteLine);

    const AccountAndDays criteria = addAccountAndDaysCriteria(QStringLiteral("开户银行："));
    m_accounts = criteria.accounts;
    m_from = criteria.from;
    m_to = criteria.to;
    m_show = criteria.show;
    const QDate closing = ui::Dm1->login.closingDate.date();
    const QDate month(closing.year(), closing.month(), 1);
    m_from->setText(dayText(month));
    m_to->setText(dayText(month.addMonths(1).addDays(-1)));
    connect(m_accounts, &QComboBox::textActivated, this, &TForm_yhdzd::showLines);
    connect(m_show, &QPushButton::clicked, this, &TForm_yhdzd::showLines);
}

TForm_yhdzd::~TForm_yhdzd() {
    // The grid lets go of the query before the query goes.
    grid()->setQuery(nullptr);
}

void TForm_yhdzd::setAccounts(const QStringList& accounts) {
    ui::setChoices(m_accounts, accounts);
}

QString TForm_yhdzd::chosenAccount() const {
    return m_accounts->currentText();
}

bool TForm_yhdzd::accountChosen() {
    if (!chosenAccount().isEmpty())
        return true;
    ui::warn(this, SearchCriteria::problemText(SearchProblem::NoBankAccount));
    return false;
}

bool TForm_yhdzd::readyToPrintOrExport() {
    return accountChosen();
}

QString TForm_yhdzd::exportName() const {
    return chosenAccount() + traits().exportName;
}

QString TForm_yhdzd::printTitle() const {
    return chosenAccount() + traits().printTitle;
}

void TForm_yhdzd::showLines() {
    if (!accountChosen())
        return;
    SearchFields days;
    days.dateFrom = m_from->text();
    days.dateTo = m_to->text();
    SearchProblem problem = SearchCriteria::check(JournalKind::Cash, days);
    // The search takes no dates at all; a list of lines needs both.
    if (problem == SearchProblem::None && days.dateFrom.trimmed().isEmpty())
        problem = SearchProblem::DateRange;
    if (problem != SearchProblem::None) {
        ui::warn(this, SearchCriteria::problemText(problem));
        m_from->setFocus();
        return;
    }
    reopen(store::DateTime::parseDay(days.dateFrom)->date(),
           store::DateTime::parseDay(days.dateTo)->date());
}

void TForm_yhdzd::reopen(const QDate& from, const QDate& to) {
    store::Query& query = m_lines->query;
    query.openWith({
        QStringLiteral("select 编号, 日期, 摘要, 收入, 支出, 余额, 流水号, 对方户名, "
                       "case when %1 then '是' else '' end as 已对账 from 银行对账单")
            .arg(heldByIntactMatch(QStringLiteral("银行对账单.编号"))),
        QStringLiteral(" where 开户银行 = %1 and 日期 >= %2 and 日期 < %3")
            .arg(store::sql::quoted(chosenAccount()))
            .arg(store::DateTime::fromDate(from).serial())
            .arg(store::DateTime::fromDate(to.addDays(1)).serial()),
        QStringLiteral(" order by 日期, 编号"),
    });
}

void TForm_yhdzd::importStatement() {
    if (!accountChosen())
        return;
    const QString path = ui::chooseOpenFile(
        this, QStringLiteral("导入对账单"),
        QStringLiteral(
            "对账单文件 (*.csv;*.txt;*.xls;*.xlsx)|*.csv;*.txt;*.xls;*.xlsx|所有文件 (*.*)|*.*"));
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    if (ui::writesOverTheBook(path)) {
        ui::warn(this, QStringLiteral("不能从数据库文件或属于它的文件导入，请另选文件！"));
        return;
    }
    StatementImportOptions options;
    options.account = chosenAccount();
    options.operatorName = ui::Dm1->login.operatorName;
    options.sourceFile = name;
    StatementImportResult result;
    try {
        const WaitCursor waiting;
        result = journal::importStatement(ui::Dm1->ADO_xjrjz.database(),
                                          lists::readImportFile(path), options);
    } catch (const lists::ImportFileError& e) {
        ui::warn(this, e.message());
        return;
    }
    if (!result.refused.isEmpty()) {
        ui::warn(this, refusalText(name, result.refused));
        return;
    }
    if (result.lines == 0) {
        ui::warn(this, QStringLiteral("文件 %1 中没有对账单的行。").arg(name));
        return;
    }
    // The list shows the days the file covers, so that what came in is in sight.
    m_from->setText(dayText(result.first));
    m_to->setText(dayText(result.last));
    reopen(result.first, result.last);
    ui::inform(this, QStringLiteral("导入完毕：新增 %1 行，%2 行已经导入过。")
                         .arg(result.added)
                         .arg(result.alreadyThere));
}

void TForm_yhdzd::deleteLine() {
    store::Query& query = m_lines->query;
    if (!query.isOpen() || query.isEmpty())
        return;
    if (query.fieldByName(QStringLiteral("已对账")).asString() == QStringLiteral("是")) {
        ui::warn(this, QStringLiteral("这一行已经对账，请先在银行对账中取消对账，再删除！"));
        return;
    }
    if (!ui::ask(this, QStringLiteral("要删除当前记录吗? ")))
        return;
    const qint64 line = query.fieldByName(QStringLiteral("编号")).asInteger();
    store::Database& db = ui::Dm1->ADO_xjrjz.database();
    {
        store::Transaction unit(db);
        store::Statement remove(db,
                                QStringLiteral("delete from 银行对账单 where 编号 = ?1 and not %1")
                                    .arg(heldByIntactMatch(QStringLiteral("?1"))));
        remove.bindInt64(1, line);
        remove.step();
        unit.commit();
    }
    // The list again, standing on the line after the one deleted.
    const QStringList sql = query.sql();
    query.openWith(sql);
    for (int row = 0; row < query.recordCount(); ++row) {
        if (query.valueAt(row, query.fieldIndex(QStringLiteral("编号"))).toLongLong() > line) {
            query.moveTo(row);
            break;
        }
    }
}

} // namespace journal
