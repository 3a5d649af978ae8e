#include "EngineSql.h"

#include "AddedTables.h"
#include "Schema.h"
#include "SqlScan.h"
#include "SqlText.h"
#include "TextComparisons.h"
#include "TextFolding.h"

#include <QRegularExpression>
#include <QSet>

namespace store {

namespace {

// Names that are a text column in every table that has them.
const QSet<QString>& textColumns() {
    static const QSet<QString> names = [] {
        QSet<QString> text;
        QSet<QString> other;
        for (const QList<TableDef>* tables : {&schemaTables(), &addedTables()}) {
            for (const TableDef& table : *tables) {
                for (const ColumnDef& column : table.columns)
                    (column.type == ColumnType::Text ? text : other).insert(column.name);
            }
        }
        for (const QString& name : other)
            text.remove(name);
        return text;
    }();
    return names;
}

QString unquoted(const QString& literal) {
    QString body = literal.mid(1, literal.size() - 2);
    body.replace(QStringLiteral("''"), QStringLiteral("'"));
    return body;
}

// The texts whose folded form begins with the pattern's fixed start lie in
// [low, high) of the folded order; false when the pattern starts with a wildcard.
bool prefixRange(const QString& pattern, QString& low, QString& high) {
    qsizetype fixed = 0;
    while (fixed < pattern.size() && pattern[fixed] != QLatin1Char('%') &&
           pattern[fixed] != QLatin1Char('_'))
        ++fixed;
    const QString start = pattern.left(fixed);
    std::u32string folded = foldedCodePoints(start);
    if (folded.empty())
        return false;
    // A server book orders the lower-cased texts: where a letter lowers
    // otherwise than it folds, its range there would hold other texts.
    for (const char32_t c : start.toStdU32String()) {
        if (!lowersAsFolded(c))
            return false;
    }
    low = fromCodePoints(folded);
    // The bound must be above every text with that start once folded itself.
    const char32_t last = folded.back();
    for (char32_t next = last + 1; next <= 0x10FFFF; ++next) {
        if (next >= 0xD800 && next <= 0xDFFF)
            continue;
        if (!lowersAsFolded(next))
            return false; // between the two ends
        if (foldedCase(next) <= last)
            continue;
        folded.back() = next;
        high = fromCodePoints(folded);
        return true;
    }
    return false;
}

// "(name like 'pattern')" at `start`: its length and the text that replaces it.
qsizetype prefixLikeAt(const QString& sql, qsizetype start, QString& replacement) {
    qsizetype i = start + 1;
    while (i < sql.size() && isNameChar(sql[i]))
        ++i;
    const QString name = sql.mid(start + 1, i - start - 1);
    static const QString like = QStringLiteral(" like ");
    if (name.isEmpty() || !textColumns().contains(name) ||
        QStringView(sql).mid(i, like.size()).compare(like, Qt::CaseInsensitive) != 0)
        return 0;
    i += like.size();
    if (i >= sql.size() || sql[i] != QLatin1Char('\''))
        return 0;
    const qsizetype end = quotedEnd(sql, i);
    if (end < 0 || end >= sql.size() || sql[end] != QLatin1Char(')'))
        return 0;
    const QString pattern = unquoted(sql.mid(i, end - i));
    QString low;
    QString high;
    if (!prefixRange(pattern, low, high))
        return 0;
    const QString range = name + QStringLiteral(" >= ") + sql::quoted(low) +
                          QStringLiteral(" and ") + name + QStringLiteral(" < ") +
                          sql::quoted(high);
    // "x%" matches exactly the texts of the range, so the range alone answers it,
    // as SQLite's own optimisation drops such a LIKE.
    static const QRegularExpression plainPrefix(QStringLiteral("^[^%_]+%+$"));
    replacement = QLatin1Char('(') +
                  (plainPrefix.match(pattern).hasMatch()
                       ? range
                       : sql.mid(start + 1, end - start - 1) + QStringLiteral(" and ") + range) +
                  QLatin1Char(')');
    return end + 1 - start;
}

// The ORDER BY list with each plain text column sorted in pinyin order.
QString pinyinOrder(const QString& terms) {
    if (terms.contains(QLatin1Char('(')) || terms.contains(QLatin1Char('\'')) ||
        terms.contains(QLatin1Char('"')))
        return terms;
    static const QRegularExpression plain(QStringLiteral(R"(^(\s*)(\w+)(\s+(?:asc|desc))?(\s*)$)"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::UseUnicodePropertiesOption);
    QStringList out;
    for (const QString& term : terms.split(QLatin1Char(','))) {
        const QRegularExpressionMatch m = plain.match(term);
        if (!m.hasMatch() || !textColumns().contains(m.captured(2))) {
            out << term;
            continue;
        }
        out << m.captured(1) + m.captured(2) + QStringLiteral(" collate ") +
                   QLatin1String(kPinyinCollation) + m.captured(3) + m.captured(4);
    }
    return out.join(QLatin1Char(','));
}

} // namespace

QString engineSql(const QString& sql, bool foldedTextOrder) {
    static const QRegularExpression orderBy(QStringLiteral(R"(order\s+by\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString out;
    out.reserve(sql.size());
    qsizetype orderTerms = -1;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = quotedEnd(sql, i);
            if (end < 0)
                return sql; // the engine reports it
            out += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (c == QLatin1Char('(') && foldedTextOrder) {
            QString replacement;
            if (const qsizetype length = prefixLikeAt(sql, i, replacement)) {
                out += replacement;
                i += length;
                continue;
            }
        }
        if ((c == QLatin1Char('o') || c == QLatin1Char('O')) &&
            (i == 0 || !isNameChar(sql[i - 1]))) {
            const QRegularExpressionMatch m =
                orderBy.match(sql, i, QRegularExpression::NormalMatch,
                              QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                out += m.captured();
                i += m.capturedLength();
                orderTerms = out.size();
                continue;
            }
        }
        out += c;
        ++i;
    }
    if (orderTerms < 0)
        return out;
    return out.left(orderTerms) + pinyinOrder(out.mid(orderTerms));
}

} // namespace store
