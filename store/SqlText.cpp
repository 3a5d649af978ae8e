#include "SqlText.h"

namespace store::sql {

QString quoted(const QString& text) {
    QString body = text;
    body.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + body + QLatin1Char('\'');
}

QString dateLiteral(const QString& dateText) {
    return QStringLiteral("cdate(") + quoted(dateText) + QLatin1Char(')');
}

QString startOfDayLiteral(const QString& dateText) {
    return dateLiteral(dateText + QStringLiteral(" 0:0:0"));
}

QString endOfDayLiteral(const QString& dateText) {
    return dateLiteral(dateText + QStringLiteral(" 23:59:59"));
}

QString amountLiteral(const QString& amountText) {
    return QStringLiteral("ccur(") + quoted(amountText) + QLatin1Char(')');
}

QString dateRange(const QString& fromLiteral, const QString& toLiteral) {
    return QStringLiteral("(日期 between ") + fromLiteral + QStringLiteral(" and ") + toLiteral +
           QLatin1Char(')');
}

QString amountRange(const QString& column, const QString& lower, const QString& upper) {
    return QLatin1Char('(') + column + QStringLiteral(" between ") + amountLiteral(lower) +
           QStringLiteral(" and ") + amountLiteral(upper) + QLatin1Char(')');
}

QString equals(const QString& column, const QString& value) {
    return QLatin1Char('(') + column + QLatin1Char('=') + quoted(value) + QLatin1Char(')');
}

QString contains(const QString& column, const QString& value) {
    return QLatin1Char('(') + column + QStringLiteral(" like ") +
           quoted(QLatin1Char('%') + value + QLatin1Char('%')) + QLatin1Char(')');
}

QString startsWith(const QString& column, const QString& value) {
    return QLatin1Char('(') + column + QStringLiteral(" like ") + quoted(value + QLatin1Char('%')) +
           QLatin1Char(')');
}

void Criteria::add(const QString& piece) { add(piece, QStringLiteral("and") + piece); }

void Criteria::add(const QString& firstForm, const QString& joinedForm) {
    m_text += m_text.isEmpty() ? firstForm : joinedForm;
}

} // namespace store::sql
