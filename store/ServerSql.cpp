#include "ServerSql.h"

namespace store::server {

namespace {

using T = ColumnType;

// Whitespace as the program's readers skip it: \s of the date reader (ASCII)
// and QString::trimmed() of the amount reader (every Unicode space).
const char* const kAsciiSpace = R"([\t\n\v\f\r ])";
const char* const kUnicodeSpace =
    R"([\t\n\v\f\r \u0085\u00A0\u1680\u2000-\u200A\u2028\u2029\u202F\u205F\u3000])";

// cdate(text): "y-m-d [h:m[:s]]" with "-" or "/", as days since 1899-12-30
// with the time as the fraction, computed in the same double steps.
QString cdateText() {
    return QStringLiteral(R"(CREATE FUNCTION cdate(text) RETURNS double precision
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $f$
DECLARE
    m text[] := regexp_match($1,
        '^%1*([0-9]{1,4})([-/])([0-9]{1,2})\2([0-9]{1,2})(?:%1+([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?)?%1*$');
    y int; mo int; d int; h int := 0; mi int := 0; s int := 0;
    days double precision;
    fraction double precision;
BEGIN
    IF m IS NOT NULL THEN
        y := m[1]::int; mo := m[3]::int; d := m[4]::int;
        IF m[5] IS NOT NULL THEN
            h := m[5]::int; mi := m[6]::int; s := coalesce(m[7], '0')::int;
        END IF;
        IF y >= 1 AND mo BETWEEN 1 AND 12 AND d >= 1
           AND d <= extract(day FROM make_date(y, mo, 1) + interval '1 month' - interval '1 day')
           AND h <= 23 AND mi <= 59 AND s <= 59 THEN
            days := make_date(y, mo, d) - date '1899-12-30';
            fraction := ((h * 3600 + mi * 60 + s) * 1000)::double precision / 86400000.0::double precision;
            RETURN CASE WHEN days < 0 THEN days - fraction ELSE days + fraction END;
        END IF;
    END IF;
    RAISE EXCEPTION USING ERRCODE = '22007', MESSAGE = format('数据类型不匹配：“%s”不是日期', $1);
END
$f$)")
        .arg(QLatin1String(kAsciiSpace));
}

// ccur(text): an amount with optional sign, groups of three after the first
// group, up to four decimals and the fifth rounding half up, in ten-thousandths.
QString ccurText() {
    return QStringLiteral(R"(CREATE FUNCTION ccur(text) RETURNS bigint
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $f$
DECLARE
    t text := regexp_replace($1, '^%1+|%1+$', '', 'g');
    m text[] := regexp_match(t, '^([-+]?)([0-9,]*)(?:\.([0-9]*))?$');
    units text;
    decimals text;
    magnitude numeric;
BEGIN
    IF m IS NULL OR (m[2] = '' AND coalesce(m[3], '') = '')
       OR (strpos(m[2], ',') > 0 AND m[2] !~ '^[0-9]{1,3}(,[0-9]{3})+$') THEN
        RAISE EXCEPTION USING ERRCODE = '22P02', MESSAGE = format('数据类型不匹配：“%s”不是金额', $1);
    END IF;
    units := ltrim(replace(m[2], ',', ''), '0');
    decimals := coalesce(m[3], '');
    IF length(units) <= 20 THEN
        magnitude := coalesce(nullif(units, ''), '0')::numeric * 10000
            + rpad(left(decimals, 4), 4, '0')::numeric
            + CASE WHEN substr(decimals, 5, 1) >= '5' THEN 1 ELSE 0 END;
        IF m[1] = '-' AND magnitude <= 9223372036854775808 THEN
            RETURN (-magnitude)::bigint;
        ELSIF m[1] <> '-' AND magnitude <= 9223372036854775807 THEN
            RETURN magnitude::bigint;
        END IF;
    END IF;
    RAISE EXCEPTION USING ERRCODE = '22003', MESSAGE = format('金额数值溢出：“%s”', $1);
END
$f$)")
        .arg(QLatin1String(kUnicodeSpace));
}

// Numbers: whole ones times 10000, checked; fractional ones rounded half away
// from zero, as std::round does (round() of double precision rounds half to even).
const char* const kNumberFunctions[] = {
    R"(CREATE FUNCTION cdate(double precision) RETURNS double precision
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS 'SELECT $1')",
    R"(CREATE FUNCTION ccur(bigint) RETURNS bigint
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $f$
BEGIN
    IF $1 > 922337203685477 OR $1 < -922337203685477 THEN
        RAISE EXCEPTION USING ERRCODE = '22003', MESSAGE = '金额数值溢出';
    END IF;
    RETURN $1 * 10000;
END
$f$)",
    R"(CREATE FUNCTION ccur(integer) RETURNS bigint
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS 'SELECT $1::bigint * 10000')",
    R"(CREATE FUNCTION ccur(double precision) RETURNS bigint
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $f$
DECLARE
    scaled double precision;
    whole double precision;
BEGIN
    IF abs($1) < 1e15::double precision THEN
        scaled := $1 * 10000;
        whole := trunc(scaled);
        IF abs(scaled - whole) >= 0.5 THEN
            whole := whole + sign(scaled);
        END IF;
        IF abs(whole) < 9.2e18::double precision THEN
            RETURN whole::bigint;
        END IF;
    END IF;
    RAISE EXCEPTION USING ERRCODE = '22003', MESSAGE = '金额数值溢出';
END
$f$)",
    // A literal such as 1.5 is numeric here and a double in the file book.
    R"(CREATE FUNCTION ccur(numeric) RETURNS bigint
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS 'SELECT ccur($1::double precision)')",
    R"(CREATE FUNCTION ifnull(anycompatible, anycompatible) RETURNS anycompatible
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS 'SELECT coalesce($1, $2)')",
    // group_concat as SQLite has it: the values as text, nulls left out, joined by "," or
    // the separator given, in the order the rows come.
    R"(CREATE FUNCTION group_concat_step(text, anyelement, text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
'SELECT CASE WHEN $2 IS NULL THEN $1 WHEN $1 IS NULL THEN $2::text ELSE $1 || $3 || $2::text END')",
    R"(CREATE FUNCTION group_concat_step(text, anyelement) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS 'SELECT group_concat_step($1, $2, '','')')",
    R"(CREATE AGGREGATE group_concat(anyelement, text) (SFUNC = group_concat_step, STYPE = text))",
    R"(CREATE AGGREGATE group_concat(anyelement) (SFUNC = group_concat_step, STYPE = text))",
};

QString declaration(const ColumnDef& column) {
    switch (column.type) {
    case T::Text:
        return QStringLiteral("citext COLLATE %1").arg(QLatin1String(kTextCollation));
    case T::Currency:
        return QStringLiteral("currency");
    case T::DateTime:
        return QStringLiteral("datetime");
    case T::Counter:
        return QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case T::Integer:
        return QStringLiteral("bigint");
    }
    return QString();
}

// The file book names the connection's own tables "temp.x"; here they live in pg_temp.
QString tableName(const QString& name) {
    static const QString temp = QStringLiteral("temp.");
    return name.startsWith(temp, Qt::CaseInsensitive) ? QStringLiteral("pg_temp.") + name.mid(5)
                                                      : name;
}

QString tableBody(const TableDef& table) {
    QStringList columns;
    QString counter;
    for (const ColumnDef& c : table.columns) {
        columns << c.name + QLatin1Char(' ') + declaration(c);
        if (c.type == T::Counter)
            counter = c.name;
    }
    // Where the table has a counter, the file book's rowid is that counter.
    columns << (counter.isEmpty()
                    ? QStringLiteral("_rowid bigint GENERATED BY DEFAULT AS IDENTITY UNIQUE")
                    : QStringLiteral("_rowid bigint GENERATED ALWAYS AS (%1) STORED UNIQUE")
                          .arg(counter));
    return tableName(table.name) + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

} // namespace

QStringList setupStatements() {
    QStringList statements = {
        QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"),
        // lower() and the order of code points of the libc C.UTF-8 locale,
        // whatever the database's own locale.
        QStringLiteral("CREATE COLLATION IF NOT EXISTS %1 (provider = libc, locale = 'C.UTF-8')")
            .arg(QLatin1String(kTextCollation)),
        // Pinyin, with every other script before the Han characters: where two
        // texts differ first in a Han character against another one, the other
        // comes first.
        QStringLiteral("CREATE COLLATION IF NOT EXISTS pinyin "
                       "(provider = icu, locale = 'zh-u-co-pinyin-kr-zzzz-hani')"),
        QStringLiteral("CREATE DOMAIN currency AS bigint"),
        QStringLiteral("CREATE DOMAIN datetime AS double precision"),
        cdateText(),
        ccurText(),
    };
    for (const char* function : kNumberFunctions)
        statements << QString::fromUtf8(function);
    return statements;
}

QString createTableSql(const TableDef& table) {
    if (table.name.startsWith(QStringLiteral("temp."), Qt::CaseInsensitive))
        return createTemporaryTableSql(table);
    return QStringLiteral("CREATE TABLE ") + tableBody(table);
}

QString createTemporaryTableSql(const TableDef& table) {
    return QStringLiteral("CREATE TEMPORARY TABLE ") + tableBody(table);
}

} // namespace store::server
