#include "StatisticsFill.h"

#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/Query.h"
#include "store/SqlText.h"
#include "store/Transaction.h"

namespace stats {

namespace {

const QStringList kScratch = {QStringLiteral("select * from "), QStringLiteral("通用")};

/// Suspends a query's views for a fill and always resumes them.
class ViewsSuspended {
public:
    explicit ViewsSuspended(store::Query& query) : m_query(query) { m_query.disableControls(); }
    ~ViewsSuspended() { m_query.enableControls(); }

private:
    store::Query& m_query;
};

QStringList sumQuery(store::JournalKind kind, const QString& condition) {
    return {QStringLiteral("select sum(借方) as jf,sum(贷方) as df from ") + store::journalTable(kind),
            QStringLiteral(" where "), condition};
}

/// "(开户银行='x')and" in front of the condition, when an account is given.
QString withBank(const QString& condition, store::JournalKind kind, const QString& bank) {
    if (kind != store::JournalKind::Bank || bank.isEmpty())
        return condition;
    return store::sql::equals(QStringLiteral("开户银行"), bank) + QStringLiteral("and") + condition;
}

struct Sums {
    store::Currency debit;
    store::Currency credit;
};

Sums readSums(store::Query& sums, const QStringList& sql) {
    sums.openWith(sql);
    return {sums.fieldByName(QStringLiteral("jf")).asCurrency(),
            sums.fieldByName(QStringLiteral("df")).asCurrency()};
}

/// Empties 通用 and reopens the scratch query on it.
void emptyScratch(store::Query& scratch, const QStringList& reopen) {
    scratch.execWith({QStringLiteral("delete from 通用")});
    scratch.openWith(reopen);
}

} // namespace

// The rows of each fill, written inside its transaction.
void appendSummaryRows(store::Query& scratch, store::Query& catalogue, store::Query& sums,
                       const SummaryCriteria& criteria);
void appendMonthRows(store::Query& scratch, store::Query& sums, store::JournalKind kind,
                     const StatisticsYear& year, const QString& bank);

DateRangeProblem checkDateRange(const QString& fromText, const QString& toText) {
    const bool fromEmpty = fromText.trimmed().isEmpty();
    const bool toEmpty = toText.trimmed().isEmpty();
    if (fromEmpty && toEmpty)
        return DateRangeProblem::BothEmpty;
    if (fromEmpty || toEmpty)
        return DateRangeProblem::OneEmpty;
    const auto from = store::DateTime::parseDay(fromText);
    const auto to = store::DateTime::parseDay(toText);
    if (!from || !to)
        return DateRangeProblem::Unreadable;
    if (*to < *from)
        return DateRangeProblem::Reversed;
    return DateRangeProblem::None;
}

QString dateRangeMessage(DateRangeProblem problem) {
    switch (problem) {
    case DateRangeProblem::BothEmpty:
        return QStringLiteral("日期不能为空,请重新输入!");
    case DateRangeProblem::OneEmpty:
    case DateRangeProblem::Unreadable:
        return QStringLiteral("日期输入错误,请重新输入!");
    case DateRangeProblem::Reversed:
        return QStringLiteral("日期从大于日期到,请重新输入!");
    case DateRangeProblem::None:
        break;
    }
    return QString();
}

/// Runs a fill in one transaction; a failure leaves 通用 as it was, and the
/// scratch query shows that again before the error goes on.
template <typename Fill>
void transactionalFill(store::Query& scratch, const QStringList& reopen, Fill fill) {
    ViewsSuspended suspended(scratch);
    try {
        store::Transaction unit(scratch.connection()->database());
        emptyScratch(scratch, reopen);
        fill();
        unit.commit();
    } catch (...) {
        scratch.cancel();
        scratch.openWith(reopen);
        throw;
    }
    scratch.first();
}

void fillSummaryTotals(store::Query& scratch, store::Query& catalogue, store::Query& sums,
                       const SummaryCriteria& criteria) {
    transactionalFill(scratch, kScratch, [&] { appendSummaryRows(scratch, catalogue, sums, criteria); });
    sums.close();
    catalogue.close();
}

void appendSummaryRows(store::Query& scratch, store::Query& catalogue, store::Query& sums,
                       const SummaryCriteria& criteria) {
    const QString from = criteria.fromText.trimmed();
    const QString to = criteria.toText.trimmed();
    QString base = store::sql::dateRange(store::sql::startOfDayLiteral(from),
                                         store::sql::endOfDayLiteral(to));
    if (!criteria.voucher.isEmpty())
        base += QStringLiteral("and") + store::sql::equals(QStringLiteral("凭证号"), criteria.voucher);
    base = withBank(base, criteria.kind, criteria.bank);
    const double fromDate = store::DateTime::parseDay(from).value_or(store::DateTime()).serial();
    const double toDate = store::DateTime::parseDay(to).value_or(store::DateTime()).serial();

    catalogue.openWith({QStringLiteral("select * from "), QStringLiteral("摘要"), QStringLiteral("order by 代码")});
    for (catalogue.first(); !catalogue.eof(); catalogue.next()) {
        const QString summary = catalogue.fieldByName(QStringLiteral("摘要")).asString();
        const Sums s = readSums(
            sums, sumQuery(criteria.kind, base + QStringLiteral("and") +
                                              store::sql::startsWith(QStringLiteral("摘要"), summary)));
        if (s.debit <= store::Currency() && s.credit <= store::Currency())
            continue;
        scratch.append();
        scratch.fieldByName(QStringLiteral("摘要")).setString(summary);
        if (s.debit > store::Currency())
            scratch.fieldByName(QStringLiteral("现金增加")).setCurrency(s.debit);
        else
            scratch.fieldByName(QStringLiteral("现金减少")).setCurrency(s.credit);
        scratch.fieldByName(QStringLiteral("发车日期")).setDateTime(store::DateTime::fromSerial(fromDate));
        scratch.fieldByName(QStringLiteral("收车日期")).setDateTime(store::DateTime::fromSerial(toDate));
        scratch.post();
    }
}

YearProblem checkYear(const QString& yearText, StatisticsYear* year) {
    const QString text = yearText.trimmed();
    if (text.isEmpty())
        return YearProblem::Empty;
    bool ok = false;
    const int value = text.left(4).toInt(&ok);
    if (!ok || value < 1 || value > 9999)
        return YearProblem::NotANumber;
    if (year) {
        year->number = value;
        year->text = text.left(4);
    }
    return YearProblem::None;
}

QString yearMessage(YearProblem problem) {
    switch (problem) {
    case YearProblem::Empty:
        return QStringLiteral("没有输入统计年度,请重新输入!");
    case YearProblem::NotANumber:
        return QStringLiteral("统计年度输入不正确,请重新输入!");
    case YearProblem::None:
        break;
    }
    return QString();
}

void fillMonthTotals(store::Query& scratch, store::Query& sums, store::JournalKind kind,
                     const StatisticsYear& year, const QString& bank) {
    transactionalFill(scratch, kScratch + QStringList{QStringLiteral(" order by 月份")},
                      [&] { appendMonthRows(scratch, sums, kind, year, bank); });
    sums.close();
}

void appendMonthRows(store::Query& scratch, store::Query& sums, store::JournalKind kind,
                     const StatisticsYear& year, const QString& bank) {
    const QString yearText = QString::number(year.number);
    for (int month = 1; month <= 12; ++month) {
        const QString mm = QString::number(month).rightJustified(2, QLatin1Char('0'));
        const QString start = yearText + QLatin1Char('-') + mm + QStringLiteral("-1 0:0:0");
        const QString end =
            yearText + QLatin1Char('-') + mm + QLatin1Char('-') +
            QString::number(store::BookkeepingPeriod::lastDayOfMonth(year.number, month)) +
            QStringLiteral(" 23:59:59");
        const QString condition = withBank(
            store::sql::dateRange(store::sql::dateLiteral(start), store::sql::dateLiteral(end)), kind, bank);
        const Sums s = readSums(sums, sumQuery(kind, condition));
        if (s.debit <= store::Currency() && s.credit <= store::Currency())
            continue;
        scratch.append();
        scratch.fieldByName(QStringLiteral("年度")).setString(year.text);
        scratch.fieldByName(QStringLiteral("月份")).setString(mm + QStringLiteral("月"));
        scratch.fieldByName(QStringLiteral("现金减少")).setCurrency(s.credit);
        scratch.fieldByName(QStringLiteral("现金增加")).setCurrency(s.debit);
        scratch.fieldByName(QStringLiteral("收入差价")).setCurrency(s.debit - s.credit);
        scratch.post();
    }
}

} // namespace stats
