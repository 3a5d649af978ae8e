#include "SqlFunctions.h"

#include "Currency.h"
#include "DateTime.h"

#include <QString>

#include <sqlite3.h>

#include <cmath>

namespace store {

namespace {

QString argumentText(sqlite3_value* value) {
    const unsigned char* text = sqlite3_value_text(value);
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text), sqlite3_value_bytes(value))
                : QString();
}

void fail(sqlite3_context* context, const QString& message) {
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(context, utf8.constData(), int(utf8.size()));
}

void cdate(sqlite3_context* context, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_double(context, sqlite3_value_double(argv[0]));
        return;
    default:
        break;
    }
    const QString text = argumentText(argv[0]);
    if (const auto date = DateTime::parse(text))
        sqlite3_result_double(context, date->serial());
    else
        fail(context, QStringLiteral("数据类型不匹配：“%1”不是日期").arg(text));
}

void ccur(sqlite3_context* context, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER: {
        qint64 raw = 0;
        if (__builtin_mul_overflow(sqlite3_value_int64(argv[0]), Currency::kScale, &raw))
            fail(context, QStringLiteral("金额数值溢出"));
        else
            sqlite3_result_int64(context, raw);
        return;
    }
    case SQLITE_FLOAT: {
        const double scaled = std::round(sqlite3_value_double(argv[0]) * Currency::kScale);
        if (!(std::fabs(scaled) < 9.2e18))
            fail(context, QStringLiteral("金额数值溢出"));
        else
            sqlite3_result_int64(context, qint64(scaled));
        return;
    }
    default:
        break;
    }
    const QString text = argumentText(argv[0]);
    try {
        if (const auto amount = Currency::parse(text))
            sqlite3_result_int64(context, amount->raw());
        else
            fail(context, QStringLiteral("数据类型不匹配：“%1”不是金额").arg(text));
    } catch (const CurrencyOverflow&) {
        fail(context, QStringLiteral("金额数值溢出：“%1”").arg(text));
    }
}

} // namespace

void registerSqlFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "cdate", 1, flags, nullptr, cdate, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "ccur", 1, flags, nullptr, ccur, nullptr, nullptr, nullptr);
}

} // namespace store
