#include "DailyCommand.h"

#include "ListExport.h"
#include "TableOutput.h"

#include "stats/DailyFunds.h"
#include "stats/DailyFundsLayout.h"
#include "stats/StatisticsFill.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/Query.h"

namespace tools {

namespace {

const QString kPrefix = QStringLiteral("tallomer-db daily: ");

QString closingDayText(store::Connection& connection) {
    store::Query q(&connection);
    q.openWith({QStringLiteral("select * from 关帐日期")});
    return store::shortDateText(q.fieldByName(QStringLiteral("关帐日期")).asDateTime().date());
}

} // namespace

int runDaily(const DailyRequest& request, const ReportLine& out, const ReportLine& err) {
    const TableOutput output{request.book, request.format, request.out, request.operatorName};
    std::optional<QString> format;
    if (const int status = checkTableOutput(output, kPrefix, format, err))
        return status;
    stats::DailyFundsCriteria criteria;
    if (request.kind && *request.kind != QLatin1String("cash") &&
        *request.kind != QLatin1String("bank")) {
        err(kPrefix + QStringLiteral("--kind 只能是 cash 或 bank"));
        return 2;
    }
    if (request.kind == QLatin1String("cash") && !request.bank.isEmpty()) {
        err(kPrefix + QStringLiteral("--bank 只用于银行日记帐"));
        return 2;
    }
    if (request.kind)
        criteria.accounts = *request.kind == QLatin1String("cash") ? stats::DailyAccounts::Cash
                                                                   : stats::DailyAccounts::Bank;
    if (!request.bank.isEmpty())
        criteria.accounts = stats::DailyAccounts::Bank;
    criteria.bank = request.bank;
    criteria.everyDay = request.everyDay;

    store::Connection connection;
    connection.setConnectionString(store::ConnectionString::forFile(request.book));
    connection.openToRead();
    if (!request.bank.isEmpty() && !hasBankAccount(connection, request.bank)) {
        err(kPrefix + QStringLiteral("没有开户银行“%1”").arg(request.bank));
        return 2;
    }
    if (const int status = checkPrintingOperator(connection, output, format, kPrefix, err))
        return status;
    QString from = request.from;
    QString to = request.to;
    if (from.isEmpty() && to.isEmpty())
        from = to = closingDayText(connection);
    if (const stats::DateRangeProblem problem = stats::checkDateRange(from, to);
        problem != stats::DateRangeProblem::None) {
        err(kPrefix + stats::dateRangeMessage(problem));
        return 2;
    }
    criteria.from = store::DateTime::parseDay(from)->date();
    criteria.to = store::DateTime::parseDay(to)->date();

    stats::DailyFundsReport report;
    try {
        report = stats::dailyFunds(connection.database(), criteria);
    } catch (const store::CurrencyOverflow& e) {
        err(kPrefix + e.message());
        return 1;
    }
    const QString title =
        QStringLiteral("资金日报表 %1 至 %2")
            .arg(store::shortDateText(criteria.from), store::shortDateText(criteria.to));
    const lists::TableSnapshot table = stats::dailyFundsTable(report);
    if (!format) {
        for (const QString& line : tableLines(title, table))
            out(line);
    } else {
        writeTableFile(table, stats::dailyFundsPrintSetup(), output, *format, title, out, err);
    }
    return 0;
}

} // namespace tools
