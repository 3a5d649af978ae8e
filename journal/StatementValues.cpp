#include "StatementValues.h"

#include "store/DateTime.h"

#include <QRegularExpression>

namespace journal {

std::optional<QDate> readStatementDay(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^(?:(\\d{4})(\\d{2})(\\d{2})|(\\d{4}[-/.]\\d{1,2}[-/"
                       ".]\\d{1,2})|(\\d{4})年(\\d{1,2})月(\\d{1,2})日?)"
                       "(?:(?:[ T]+\\d{1,2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?)|(?:[ ]*\\d{6}))?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QDate day;
    if (match.hasCaptured(1))
        day =
            QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    else if (match.hasCaptured(5))
        day =
            QDate(match.captured(5).toInt(), match.captured(6).toInt(), match.captured(7).toInt());
    else if (const auto parsed = store::DateTime::parseDay(
                 match.captured(4).replace(QLatin1Char('.'), QLatin1Char('-'))))
        day = parsed->date();
    if (!day.isValid())
        return std::nullopt;
    return day;
}

std::optional<store::Currency> readStatementAmount(const QString& text, const QString& title,
                                                   QString& reason) {
    static const QRegularExpression marks(QStringLiteral("[\\s\\x{3000}¥￥元]|RMB|CNY"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString bare = text;
    bare.remove(marks);
    if (bare.startsWith(QLatin1Char('+')))
        bare.remove(0, 1);
    // Banks mark an empty amount with a dash.
    if (bare.isEmpty() || bare == QStringLiteral("-") || bare == QStringLiteral("--") ||
        bare == QStringLiteral("—") || bare == QStringLiteral("－"))
        return std::nullopt;
    std::optional<store::Currency> amount;
    try {
        amount = store::Currency::parse(bare);
    } catch (const store::CurrencyOverflow& e) {
        reason = QStringLiteral("%1“%2”%3").arg(title, text.trimmed(), e.message());
        return std::nullopt;
    }
    const qsizetype point = bare.indexOf(QLatin1Char('.'));
    if (!amount)
        reason = QStringLiteral("%1“%2”不是金额").arg(title, text.trimmed());
    else if (point >= 0 && bare.size() - point - 1 > 4)
        reason = QStringLiteral("%1“%2”超过四位小数").arg(title, text.trimmed());
    return reason.isEmpty() ? amount : std::nullopt;
}

QString statementAmountText(store::Currency amount) {
    return amount.format(amount.raw() % 100 == 0 ? 2 : 4, true);
}

} // namespace journal
