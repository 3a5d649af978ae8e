#pragma once

#include <QString>

namespace store::sql {

/// The one way a text value enters SQL text: between single quotes, every
/// quote inside doubled, so that no typed text can end the literal early.
/// "%" and "_" are left alone and keep acting as LIKE wildcards.
QString quoted(const QString& text);

/// cdate('2005-3-1')
QString dateLiteral(const QString& dateText);
/// cdate('2005-3-1 0:0:0')
QString startOfDayLiteral(const QString& dateText);
/// cdate('2005-3-1 23:59:59')
QString endOfDayLiteral(const QString& dateText);
/// ccur('1,234.50')
QString amountLiteral(const QString& amountText);

/// (日期 between a and b), both ends included.
QString dateRange(const QString& fromLiteral, const QString& toLiteral);
/// (借方 between ccur('a') and ccur('b'))
QString amountRange(const QString& column, const QString& lower, const QString& upper);
/// (凭证号='v')
QString equals(const QString& column, const QString& value);
/// (明细 like '%v%')
QString contains(const QString& column, const QString& value);
/// (摘要 like 'v%')
QString startsWith(const QString& column, const QString& value);

/// The order of journal rows: by the date advanced by the counter in days.
inline const QString journalOrder = QStringLiteral("order by 日期+编号");

/// A where text being built from criteria: the first piece stands alone,
/// later pieces follow the one before directly, in their joined form.
class Criteria {
public:
    /// Adds a piece whose joined form is "and" followed by the piece.
    void add(const QString& piece);
    /// Adds a piece that reads differently once another piece came first.
    void add(const QString& firstForm, const QString& joinedForm);
    bool isEmpty() const { return m_text.isEmpty(); }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

} // namespace store::sql
