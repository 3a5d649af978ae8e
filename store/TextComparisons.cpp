#include "TextComparisons.h"

#include "TextFolding.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <sqlite3.h>

namespace store {

namespace {

int foldedOrder(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return compareFolded(static_cast<const char*>(a), aBytes, static_cast<const char*>(b), bBytes);
}

int asciiCaseOrder(void*, int aBytes, const void* a, int bBytes, const void* b) {
    const int r = sqlite3_strnicmp(static_cast<const char*>(a), static_cast<const char*>(b),
                                   aBytes < bBytes ? aBytes : bBytes);
    return r != 0 ? r : aBytes - bBytes;
}

// Han characters by pinyin, through the zh_CN collator. Where two texts
// first differ in a Han character against another character, the other comes
// first, as the Chinese sort order of Windows has it (the collator would put
// Han characters before Latin letters and digits).
int pinyinOrder(void*, int aBytes, const void* a, int bBytes, const void* b) {
    static thread_local const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    const QString x = QString::fromUtf8(static_cast<const char*>(a), aBytes);
    const QString y = QString::fromUtf8(static_cast<const char*>(b), bBytes);
    const std::u32string xs = x.toStdU32String();
    const std::u32string ys = y.toStdU32String();
    std::size_t i = 0;
    while (i < xs.size() && i < ys.size() && xs[i] == ys[i])
        ++i;
    if (i < xs.size() && i < ys.size()) {
        const bool xHan = QChar::script(xs[i]) == QChar::Script_Han;
        const bool yHan = QChar::script(ys[i]) == QChar::Script_Han;
        if (xHan != yHan)
            return xHan ? 1 : -1;
    }
    const int r = collator.compare(x, y);
    // Texts the collator takes as equal still get one order, by their code points.
    return r != 0 ? r
                  : compareFolded(static_cast<const char*>(a), aBytes, static_cast<const char*>(b),
                                  bBytes);
}

// The folded pattern of a statement is kept with it, so a scan folds it once.
struct Pattern {
    std::u32string folded;
};

void deletePattern(void* pattern) {
    delete static_cast<Pattern*>(pattern);
}

std::u32string foldedArgument(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return foldedCodePoints(text, sqlite3_value_bytes(value));
}

// like(pattern, text [, escape]): what "text LIKE pattern [ESCAPE e]" calls.
void like(sqlite3_context* context, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    char32_t escape = 0;
    if (argc == 3) {
        const std::u32string e = foldedArgument(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
    }
    auto* pattern = static_cast<Pattern*>(sqlite3_get_auxdata(context, 0));
    if (!pattern) {
        pattern = new Pattern{foldedArgument(argv[0])};
        sqlite3_set_auxdata(context, 0, pattern, deletePattern);
        pattern = static_cast<Pattern*>(sqlite3_get_auxdata(context, 0));
        if (!pattern) { // not kept (a pattern that changes from row to row): fold it each time
            const std::u32string folded = foldedArgument(argv[0]);
            sqlite3_result_int(context, likeFolded(folded, foldedArgument(argv[1]), escape));
            return;
        }
    }
    sqlite3_result_int(context, likeFolded(pattern->folded, foldedArgument(argv[1]), escape));
}

} // namespace

void registerTextComparisons(sqlite3* db) {
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, foldedOrder);
    sqlite3_create_collation(db, kPinyinCollation, SQLITE_UTF8, nullptr, pinyinOrder);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, like, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "like", 3, flags, nullptr, like, nullptr, nullptr, nullptr);
}

void useAsciiCaseOrder(sqlite3* db) {
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, asciiCaseOrder);
}

} // namespace store
