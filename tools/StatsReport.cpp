#include "StatsReport.h"

#include "stats/StatisticsFill.h"
#include "store/Connection.h"
#include "store/Query.h"

namespace tools {

namespace {

QStringList readRows(store::Query& scratch, const QStringList& columns) {
    QStringList lines = {columns.join(QLatin1Char('\t'))};
    for (scratch.first(); !scratch.eof(); scratch.next()) {
        QStringList cells;
        for (const QString& column : columns)
            cells << scratch.fieldByName(column).asString();
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

} // namespace

QStringList runStatistic(store::Connection& connection, const StatsRequest& request, QString* problem) {
    store::Query scratch(&connection);
    store::Query catalogue(&connection);
    store::Query sums(&connection);
    if (request.statistic == QLatin1String("month")) {
        stats::StatisticsYear year;
        const stats::YearProblem check = stats::checkYear(request.year, &year);
        if (check != stats::YearProblem::None) {
            *problem = stats::yearMessage(check);
            return {};
        }
        stats::fillMonthTotals(scratch, sums, request.kind, year, request.bank);
        return readRows(scratch, {QStringLiteral("年度"), QStringLiteral("月份"), QStringLiteral("现金增加"),
                                  QStringLiteral("现金减少"), QStringLiteral("收入差价")});
    }
    const stats::DateRangeProblem check = stats::checkDateRange(request.from, request.to);
    if (check != stats::DateRangeProblem::None) {
        *problem = stats::dateRangeMessage(check);
        return {};
    }
    stats::SummaryCriteria criteria;
    criteria.kind = request.kind;
    criteria.fromText = request.from;
    criteria.toText = request.to;
    criteria.bank = request.bank;
    if (request.statistic == QLatin1String("voucher")) {
        criteria.voucher = request.voucher.trimmed();
        if (criteria.voucher.isEmpty()) {
            *problem = QStringLiteral("凭证号不能为空,请重新输入!");
            return {};
        }
    }
    stats::fillSummaryTotals(scratch, catalogue, sums, criteria);
    return readRows(scratch, {QStringLiteral("摘要"), QStringLiteral("发车日期"), QStringLiteral("收车日期"),
                              QStringLiteral("现金增加"), QStringLiteral("现金减少")});
}

} // namespace tools
