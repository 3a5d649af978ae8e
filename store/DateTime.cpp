#include "DateTime.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>

namespace store {

namespace {

constexpr double kMsecsPerDay = 86400000.0;

QDate epoch() { return QDate(1899, 12, 30); }

} // namespace

DateTime DateTime::fromDate(const QDate& date) {
    return fromSerial(double(epoch().daysTo(date)));
}

DateTime DateTime::fromDateTime(const QDate& date, const QTime& time) {
    const double days = double(epoch().daysTo(date));
    const double fraction = time.isValid() ? time.msecsSinceStartOfDay() / kMsecsPerDay : 0.0;
    return fromSerial(days < 0 ? days - fraction : days + fraction);
}

DateTime DateTime::now() { return fromQDateTime(QDateTime::currentDateTime()); }

DateTime DateTime::today() { return fromDate(QDate::currentDate()); }

QDate DateTime::date() const {
    // Rounding to the millisecond first keeps 23:59:59.9999999 on its own day.
    const double ms = std::round(std::fabs(m_serial) * kMsecsPerDay);
    const qint64 days = qint64(ms / kMsecsPerDay);
    return epoch().addDays(m_serial < 0 ? -days : days);
}

QTime DateTime::time() const {
    const double ms = std::round(std::fabs(m_serial) * kMsecsPerDay);
    const qint64 inDay = qint64(std::fmod(ms, kMsecsPerDay));
    return QTime::fromMSecsSinceStartOfDay(int(inDay));
}

std::optional<DateTime> DateTime::parse(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{1,4})([-/])(\d{1,2})\2(\d{1,2})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (m.hasCaptured(5)) {
        time = QTime(m.captured(5).toInt(), m.captured(6).toInt(),
                     m.hasCaptured(7) ? m.captured(7).toInt() : 0);
        if (!time.isValid())
            return std::nullopt;
    }
    return fromDateTime(date, time);
}

std::optional<DateTime> DateTime::parseDay(const QString& text) {
    // The narrower form; the general reader then finds the day, at midnight.
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*[1-9]\d{3}([-/])\d{1,2}\1\d{1,2}\s*$)"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    return parse(text);
}

std::optional<DateTime> DateTime::parseDayIn(const QString& text, const QDate& month) {
    static const QRegularExpression shortForm(
        QStringLiteral(R"(^\s*(?:(\d{1,2})[-/])?(\d{1,2})\s*$)"));
    const QRegularExpressionMatch m = shortForm.match(text);
    if (!m.hasMatch() || !month.isValid())
        return parseDay(text);
    const int monthOfYear = m.hasCaptured(1) ? m.captured(1).toInt() : month.month();
    const QDate day(month.year(), monthOfYear, m.captured(2).toInt());
    if (!day.isValid())
        return std::nullopt;
    return fromDate(day);
}

QString DateTime::toShortDateString() const { return shortDateText(date()); }

QString DateTime::toString() const {
    const QTime t = time();
    if (t.msecsSinceStartOfDay() == 0)
        return toShortDateString();
    return toShortDateString() + QLatin1Char(' ') + t.toString(QStringLiteral("H:mm:ss"));
}

QString shortDateText(const QDate& date) {
    return QString::number(date.year()) + QLatin1Char('-') + QString::number(date.month()) +
           QLatin1Char('-') + QString::number(date.day());
}

} // namespace store
