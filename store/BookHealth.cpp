#include "BookHealth.h"

#include "Connection.h"
#include "Database.h"
#include "DatabaseCheck.h"
#include "EngineError.h"
#include "SafetyCopies.h"

#include <QFileInfo>

namespace store {

BookHealth::BookHealth(const QString& book, const QString& password)
    : m_book(book)
    , m_password(password) {}

BookHealth::Report BookHealth::check() const {
    Report report;
    try {
        report.problems = problemsOf(m_book);
        if (!report.damaged())
            return report;
        // Copies left by earlier builds were never checked: the newest may be
        // as damaged as the book.
        for (const QString& copy : SafetyCopies(m_book).allCopies()) {
            if (m_stop.stopped())
                return {};
            if (problemsOf(copy).isEmpty()) {
                report.soundCopy = copy;
                report.soundCopyWritten = QFileInfo(copy).lastModified();
                break;
            }
        }
    } catch (const EngineError&) {
        // Stopped half way: what was found so far is no verdict.
        return {};
    }
    return report;
}

QStringList BookHealth::problemsOf(const QString& file) const {
    std::unique_ptr<Database> db;
    try {
        db = openDatabaseFileToRead(file, m_password);
    } catch (const EngineError& e) {
        return {e.message()};
    }
    return quickCheckProblems(*db, &m_stop);
}

} // namespace store
