#pragma once

#include "DateTime.h"

#include <QDate>
#include <QString>

namespace store {

/// The month being kept: the calendar month of the closing date, its time of
/// day ignored. The zero closing date gives December 1899.
class BookkeepingPeriod {
public:
    explicit BookkeepingPeriod(DateTime closingDate);

    static bool isLeapYear(int year);
    static int lastDayOfMonth(int year, int month);

    int year() const { return m_year; }
    int month() const { return m_month; }
    QDate firstDay() const { return QDate(m_year, m_month, 1); }
    QDate lastDay() const { return QDate(m_year, m_month, lastDayOfMonth(m_year, m_month)); }
    /// "2005-3-1": no leading zeros.
    QString firstDayText() const;
    /// "2005-3-31".
    QString lastDayText() const;
    /// "(日期 between cdate('2005-3-1') and cdate('2005-3-31'))".
    QString clause() const;
    /// Whether a day lies in the period, both ends included.
    bool contains(const QDate& day) const { return day >= firstDay() && day <= lastDay(); }

private:
    int m_year;
    int m_month;
};

} // namespace store
