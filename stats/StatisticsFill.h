#pragma once

#include "store/JournalKind.h"

#include <QString>

namespace store {
class Query;
}

namespace stats {

/// What is wrong with a date range typed into two date fields.
enum class DateRangeProblem { None, BothEmpty, OneEmpty, Reversed, Unreadable };

/// Both fields are required; equal days pass. An empty field is one whose
/// trimmed text is empty; a text that is no calendar day (a time of day or a
/// short year included, see store::DateTime::parseDay) is Unreadable.
DateRangeProblem checkDateRange(const QString& fromText, const QString& toText);
/// The message the criteria windows show for a problem.
QString dateRangeMessage(DateRangeProblem problem);

/// The totals by summary: one row per catalogue summary, in catalogue order,
/// with a positive debit or credit total over the range (and voucher, and
/// account, when given).
struct SummaryCriteria {
    store::JournalKind kind = store::JournalKind::Cash;
    QString fromText;  // the date fields' texts, as shown
    QString toText;
    QString voucher;   // trimmed; empty: any voucher
    QString bank;      // empty: every account (bank journal only)
};

/// Empties 通用 and refills it through `scratch`, one sum query per summary of
/// the catalogue read through `catalogue`, each run through `sums`. The fill
/// is one transaction: it is stored whole or not at all. Views of `scratch`
/// are suspended meanwhile; afterwards it stands on its first row and the
/// other two queries are closed.
void fillSummaryTotals(store::Query& scratch, store::Query& catalogue, store::Query& sums,
                       const SummaryCriteria& criteria);

/// The year of a statistic by month: the number its months are summed over,
/// and the text 年度 holds, the four characters as typed ("0999" stays so).
struct StatisticsYear {
    StatisticsYear() = default;
    /// A year given as a number is written with its own digits.
    StatisticsYear(int number)
        : number(number)
        , text(QString::number(number)) {}
    int number = 0;
    QString text;
};

/// What is wrong with a year typed into the year field.
enum class YearProblem { None, Empty, NotANumber };
/// The year is the first four characters of the trimmed text ("2005年" reads 2005).
YearProblem checkYear(const QString& yearText, StatisticsYear* year = nullptr);
QString yearMessage(YearProblem problem);

/// The totals by month of one year: one row per month with a positive debit
/// or credit total, January first, with the month's net income. Empties and
/// refills 通用 as fillSummaryTotals does; `scratch` is reopened in 月份 order.
void fillMonthTotals(store::Query& scratch, store::Query& sums, store::JournalKind kind,
                     const StatisticsYear& year, const QString& bank);

} // namespace stats
