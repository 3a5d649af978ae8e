#include "BookLocation.h"
#include "DatabaseCheck.h"

#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "Schema.h"
#include "Statement.h"

#include <sqlite3.h>

namespace store {

namespace {

const QString kStopped = QStringLiteral("检查已经停止");

// The lines a check pragma reports, each naming the check; none when it says
// "ok". A check that finds damage may fail on it before its end: the failure
// is one more line, unless `stop` ended the check, which throws.
QStringList checkLines(Database& db, const QString& pragma, const CheckStop* stop = nullptr) {
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
        if (stop && stop->stopped())
            throw;
        problems << e.message();
    }
    return problems;
}

} // namespace

/// A check on a connection that CheckStop may interrupt while it runs.
class RunningCheck {
public:
    RunningCheck(CheckStop* stop, Database& db)
        : m_stop(stop) {
        if (!m_stop)
            return;
        const std::lock_guard lock(m_stop->m_mutex);
        if (m_stop->m_stopped)
            throw EngineError(kStopped);
        m_stop->m_running = db.handle();
    }
    ~RunningCheck() {
        if (!m_stop)
            return;
        // The connection closes after this: no interrupt may reach it then.
        const std::lock_guard lock(m_stop->m_mutex);
        m_stop->m_running = nullptr;
    }
    RunningCheck(const RunningCheck&) = delete;
    RunningCheck& operator=(const RunningCheck&) = delete;

private:
    CheckStop* m_stop;
};

void CheckStop::stop() {
    const std::lock_guard lock(m_mutex);
    m_stopped = true;
    if (m_running)
        sqlite3_interrupt(m_running);
}

bool CheckStop::stopped() const {
    const std::lock_guard lock(m_mutex);
    return m_stopped;
}

QStringList checkDatabaseFile(const QString& path, const QString& password) {
    try {
        // A server keeps its own pages sound: a server book has its tables checked.
        if (isServerBook(path))
            return schemaProblems(*openServerBook(path, password, true));
        const auto db = openDatabaseFileToRead(path, password);
        QStringList problems = schemaProblems(*db);
        return problems + checkLines(*db, QStringLiteral("PRAGMA integrity_check"));
    } catch (const EngineError& e) {
        return {e.message()};
    }
}

QStringList quickCheckProblems(Database& db, CheckStop* stop) {
    const RunningCheck running(stop, db);
    QStringList problems = checkLines(db, QStringLiteral("PRAGMA quick_check"), stop);
    // Stopped in the instant before the check began, which clears an interrupt.
    if (stop && stop->stopped())
        throw EngineError(kStopped);
    return problems;
}

} // namespace store
