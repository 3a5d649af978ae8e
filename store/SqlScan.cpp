#include "SqlScan.h"

#include <QRegularExpression>

namespace store {

namespace {

// The statement in lower case with the insides of quoted literals blanked,
// so that keywords typed into a value are not taken for the statement's own.
QString keywordView(const QString& sql) {
    QString view = sql.toLower();
    QChar quote;
    for (qsizetype i = 0; i < view.size(); ++i) {
        const QChar c = view[i];
        if (quote.isNull()) {
            if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
                quote = c;
        } else if (c == quote) {
            quote = QChar();
        } else {
            view[i] = QLatin1Char(' ');
        }
    }
    return view;
}

} // namespace

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

qsizetype quotedEnd(const QString& sql, qsizetype start) {
    const QChar quote = sql[start];
    for (qsizetype i = start + 1; i < sql.size(); ++i) {
        if (sql[i] != quote)
            continue;
        if (i + 1 < sql.size() && sql[i + 1] == quote)
            ++i;
        else
            return i + 1;
    }
    return -1;
}

bool isPlainSingleTableSelect(const QString& sql) {
    static const QRegularExpression start(QStringLiteral("^\\s*select\\s"));
    static const QRegularExpression excluded(QStringLiteral(
        "\\b(distinct|group\\s+by|union|intersect|except|join|having|limit|with)\\b"));
    static const QRegularExpression select(QStringLiteral("\\bselect\\b"));
    const QString view = keywordView(sql);
    return view.contains(start) && !view.contains(excluded) && view.count(select) == 1;
}

bool callsAnAggregate(const QString& sql) {
    static const QRegularExpression aggregate(
        QStringLiteral("\\b(sum|count|min|max|avg|total|group_concat)\\s*\\("));
    return keywordView(sql).contains(aggregate);
}

QString withRowIdColumn(const QString& sql, const QString& alias) {
    static const QRegularExpression start(QStringLiteral("^\\s*select\\s"));
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"));
    const QString view = keywordView(sql);
    const QRegularExpressionMatch m = start.match(view);
    if (!m.hasMatch())
        return sql;
    QString result = sql.left(m.capturedEnd()) + QStringLiteral("_ROWID_ AS ") + alias +
                     QStringLiteral(", ") + sql.mid(m.capturedEnd());
    if (view.contains(orderBy)) {
        while (!result.isEmpty() && (result.back().isSpace() || result.back() == QLatin1Char(';')))
            result.chop(1);
        result += QStringLiteral("\n, _ROWID_");
    }
    return result;
}

} // namespace store
