#include "BookkeepingPeriod.h"

#include "SqlText.h"

namespace store {

BookkeepingPeriod::BookkeepingPeriod(DateTime closingDate) {
    const QDate day = closingDate.date();
    m_year = day.year();
    m_month = day.month();
}

bool BookkeepingPeriod::isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int BookkeepingPeriod::lastDayOfMonth(int year, int month) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeapYear(year) ? 29 : 28;
    default:
        return 31;
    }
}

QString BookkeepingPeriod::firstDayText() const { return shortDateText(firstDay()); }

QString BookkeepingPeriod::lastDayText() const { return shortDateText(lastDay()); }

QString BookkeepingPeriod::clause() const {
    return sql::dateRange(sql::dateLiteral(firstDayText()), sql::dateLiteral(lastDayText()));
}

} // namespace store
