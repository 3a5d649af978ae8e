// libFuzzer target for the texts the engine reads on its own: the date and
// amount readers behind cdate and ccur, and the quoting helper every typed
// value goes through into SQL text. Each input is read as UTF-8 text.
//
// What must hold, or the run stops: a date or amount that reads also reads
// back from its own text; cdate and ccur give what the readers give or fail
// with an engine error; a quoted text is one literal that stores and finds
// exactly that text, however it is made, or is refused as a whole.

#include "store/Currency.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/EngineError.h"
#include "store/SqlText.h"
#include "store/Statement.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void broken(const char* what, const QString& text) {
    std::fprintf(stderr, "broken: %s for '%s'\n", what, text.toUtf8().constData());
    std::abort();
}

store::Database& database() {
    static store::Database* db = [] {
        auto* d = new store::Database(QStringLiteral(":memory:"), store::Database::OpenMode::Create);
        d->exec(QStringLiteral("CREATE TABLE t (v TEXT COLLATE NOCASE)"));
        return d;
    }();
    return *db;
}

/// The first row's first column of a statement; nothing when the engine refuses it.
std::optional<QVariant> scalar(const QString& sql) {
    try {
        store::Statement s(database(), sql);
        if (!s.step())
            return QVariant();
        return s.value(0);
    } catch (const store::EngineError&) {
        return std::nullopt;
    }
}

void checkDate(const QString& text) {
    const std::optional<store::DateTime> date = store::DateTime::parse(text);
    if (date) {
        if (!date->date().isValid())
            broken("a date that is no day", text);
        if (store::DateTime::parse(date->toString()) != date)
            broken("a date that does not read back", text);
    }
    if (const std::optional<store::DateTime> day = store::DateTime::parseDay(text)) {
        if (day != date || day->dateOnly() != *day || day->date().year() < 1000)
            broken("a typed day the date reader reads otherwise", text);
    }
    const std::optional<QVariant> serial = scalar(QStringLiteral("select cdate(") +
                                                  store::sql::quoted(text) + QLatin1Char(')'));
    if (serial && (!date || serial->toDouble() != date->serial()))
        broken("cdate differs from the date reader", text);
    if (!serial && date && !text.contains(QChar(u'\0')))
        broken("cdate refuses a date", text);
}

void checkAmount(const QString& text) {
    std::optional<store::Currency> amount;
    bool overflow = false;
    try {
        amount = store::Currency::parse(text);
    } catch (const store::CurrencyOverflow&) {
        overflow = true;
    }
    if (amount) {
        if (store::Currency::parse(amount->toString()) != amount ||
            store::Currency::parse(amount->format(4, true)) != amount)
            broken("an amount that does not read back", text);
    }
    const std::optional<QVariant> raw = scalar(QStringLiteral("select ccur(") +
                                               store::sql::quoted(text) + QLatin1Char(')'));
    if (raw && (!amount || raw->toLongLong() != amount->raw()))
        broken("ccur differs from the amount reader", text);
    if (!raw && amount && !text.contains(QChar(u'\0')))
        broken("ccur refuses an amount", text);
    (void)overflow;
}

void checkQuoted(const QString& text) {
    const QString literal = store::sql::quoted(text);
    try {
        store::Statement insert(database(), QStringLiteral("insert into t (v) values (") + literal +
                                                QLatin1Char(')'));
        insert.step();
    } catch (const store::EngineError&) {
        if (!text.contains(QChar(u'\0')))
            broken("a quoted text refused", text);
        return;
    }
    if (text.contains(QChar(u'\0')))
        broken("a NUL went into a statement", text);
    store::Statement find(database(), QStringLiteral("select v from t where v = ") + literal);
    int found = 0;
    while (find.step()) {
        ++found;
        if (find.text(0) != text)
            broken("the stored text differs", text);
    }
    if (found != 1)
        broken("the equals query does not find the text once", text);
    database().exec(QStringLiteral("delete from t"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    // Text a database can hold: what UTF-8 cannot carry (a lone surrogate) never arrives here.
    checkDate(text);
    checkAmount(text);
    checkQuoted(text);
    return 0;
}
