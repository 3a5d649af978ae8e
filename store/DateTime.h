#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <compare>
#include <optional>

namespace store {

/// A date and time as the database stores it: days since 30 December 1899,
/// the time of day as the fraction. Day 0 is the zero date that an empty
/// value reads as. Before day 0 the fraction still counts forward in the day
/// (-1.25 is 29 December 1899, 6:00).
class DateTime {
public:
    constexpr DateTime() = default;
    static constexpr DateTime fromSerial(double days) {
        DateTime d;
        d.m_serial = days;
        return d;
    }
    static DateTime fromDate(const QDate& date);
    static DateTime fromDateTime(const QDate& date, const QTime& time);
    static DateTime fromQDateTime(const QDateTime& dt) { return fromDateTime(dt.date(), dt.time()); }
    static DateTime now();
    static DateTime today();

    /// Reads "y-M-d" (or with "/"), month and day with or without a leading
    /// zero, optionally followed by blanks and "H:m" or "H:m:s". The short date
    /// format of this system is one of these forms. Nothing for any other text.
    static std::optional<DateTime> parse(const QString& text);
    /// Reads a calendar day as a user types one: a four-digit year, month and
    /// day joined by "-" or "/", month and day with or without a leading
    /// zero, blanks around. A time of day or a short year makes it no day:
    /// "2005-3-1 10:00" and "05-3-1" give nothing, like any other text.
    static std::optional<DateTime> parseDay(const QString& text);
    /// Reads what parseDay() reads, and the short forms a cashier types for a
    /// day of the month being kept: a day alone ("15") is that day of
    /// `month`'s month, a month and day ("3-15", "03/15") that day of its year.
    /// A day the calendar lacks ("2-30") gives nothing.
    static std::optional<DateTime> parseDayIn(const QString& text, const QDate& month);

    constexpr double serial() const { return m_serial; }
    constexpr bool isZero() const { return m_serial == 0.0; }
    QDate date() const;
    QTime time() const;
    /// Keeps the day, drops the time of day.
    DateTime dateOnly() const { return fromDate(date()); }

    /// The short date text "yyyy-M-d": 2005-3-1.
    QString toShortDateString() const;
    /// The short date, followed by " H:mm:ss" when the time of day is not midnight.
    QString toString() const;

    constexpr auto operator<=>(const DateTime&) const = default;

private:
    double m_serial = 0.0;
};

/// The short date text of a plain date: 2005-3-1.
QString shortDateText(const QDate& date);

} // namespace store
