#include "ServerDialect.h"

#include "DateTime.h"
#include "SqlScan.h"

#include <QRegularExpression>

#include <optional>

namespace store {

namespace {

// "cdate('literal')" at `start` (the name): its length and the day serial it
// reads as, worked out here as the file book does it, so that the server does
// not run its cdate() for every constant each time it plans a statement.
qsizetype dateLiteralAt(const QString& sql, qsizetype start, double& serial) {
    static const QRegularExpression call(QStringLiteral(R"(cdate\s*\(\s*'([^']*)'\s*\))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m =
        call.match(sql, start, QRegularExpression::NormalMatch,
                   QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch())
        return 0;
    const std::optional<DateTime> date = DateTime::parse(m.captured(1));
    if (!date)
        return 0; // the server's cdate() reports it
    serial = date->serial();
    return m.capturedLength();
}

} // namespace

QString serverSql(const QString& sql, int* parameterCount) {
    QString out;
    out.reserve(sql.size() + 16);
    int next = 0;
    int highest = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype end = quotedEnd(sql, i);
            if (end < 0)
                end = sql.size(); // the server reports it
            out += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype stop = end < 0 ? sql.size() : end;
            out += QStringView(sql).mid(i, stop - i);
            i = stop;
            continue;
        }
        if (c == QLatin1Char('?')) {
            qsizetype j = i + 1;
            while (j < sql.size() && sql[j].isDigit())
                ++j;
            const int number = j > i + 1 ? sql.mid(i + 1, j - i - 1).toInt() : ++next;
            next = std::max(next, number);
            highest = std::max(highest, number);
            out += QLatin1Char('$') + QString::number(number);
            i = j;
            continue;
        }
        if (isNameChar(c) && (i == 0 || !isNameChar(sql[i - 1]))) {
            qsizetype j = i;
            while (j < sql.size() && isNameChar(sql[j]))
                ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            const bool qualified = i > 0 && sql[i - 1] == QLatin1Char('.');
            double serial = 0;
            if (!qualified && word.compare(u"cdate", Qt::CaseInsensitive) == 0) {
                if (const qsizetype length = dateLiteralAt(sql, i, serial)) {
                    out += QStringLiteral("CAST(%1 AS double precision)")
                               .arg(QString::number(serial, 'g', 17));
                    i += length;
                    continue;
                }
            }
            if (!qualified && (word.compare(u"_ROWID_", Qt::CaseInsensitive) == 0 ||
                               word.compare(u"rowid", Qt::CaseInsensitive) == 0))
                out += QStringLiteral("_rowid");
            else if (word.compare(u"temp", Qt::CaseInsensitive) == 0 && j < sql.size() &&
                     sql[j] == QLatin1Char('.'))
                out += QStringLiteral("pg_temp");
            else
                out += word;
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    if (parameterCount)
        *parameterCount = highest;
    return out;
}

bool isInsertOfValues(const QString& sql) {
    static const QRegularExpression insert(
        QStringLiteral(R"(^\s*insert\s+into\s+[\w.]+\s*(\([^)]*\))?\s*(values\s*\(|default\s+values))"),
        QRegularExpression::CaseInsensitiveOption |
            QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression returning(QStringLiteral(R"(\breturning\b)"),
                                              QRegularExpression::CaseInsensitiveOption);
    return insert.match(sql).hasMatch() && !returning.match(sql).hasMatch();
}

} // namespace store
