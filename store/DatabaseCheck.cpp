#include "DatabaseCheck.h"

#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "Schema.h"
#include "Statement.h"

#include <sqlite3.h>

namespace store {

namespace {

// The lines a check pragma reports, each naming the check; none when it says
// "ok". A check that finds damage may fail on it before its end: the failure
// is one more line, unless `stop` ended the check, which throws.
QStringList checkLines(Database& db, const QString& pragma, const std::atomic<bool>* stop = nullptr) {
    QStringList problems;
    try {
        Statement check(db, pragma);
        while (check.step()) {
            QString line = check.text(0);
            line.remove(QStringLiteral("*** in database main ***\n"));
            if (line != QLatin1String("ok"))
                problems << QStringLiteral("完整性检查：") + line;
        }
    } catch (const EngineError& e) {
        if (stop && stop->load())
            throw;
        problems << e.message();
    }
    return problems;
}

// Asked by SQLite every few thousand steps: a true answer interrupts the statement.
int stopRequested(void* stop) {
    return static_cast<const std::atomic<bool>*>(stop)->load() ? 1 : 0;
}

constexpr int kStepsBetweenLooks = 10000;

} // namespace

QStringList checkDatabaseFile(const QString& path, const QString& password) {
    try {
        const auto db = openDatabaseFileToRead(path, password);
        QStringList problems = schemaProblems(*db);
        return problems + checkLines(*db, QStringLiteral("PRAGMA integrity_check"));
    } catch (const EngineError& e) {
        return {e.message()};
    }
}

QStringList quickCheckProblems(Database& db, const std::atomic<bool>* stop) {
    if (stop)
        sqlite3_progress_handler(db.handle(), kStepsBetweenLooks, stopRequested,
                                 const_cast<std::atomic<bool>*>(stop));
    struct HandlerRemoved {
        sqlite3* db;
        ~HandlerRemoved() { sqlite3_progress_handler(db, 0, nullptr, nullptr); }
    } removed{db.handle()};
    return checkLines(db, QStringLiteral("PRAGMA quick_check"), stop);
}

} // namespace store
