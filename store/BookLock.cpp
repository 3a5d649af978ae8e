#include "BookLock.h"

#include <QFileInfo>
#include <QLockFile>

namespace store {

BookLock::BookLock(const QString& database)
    : m_lockFile(lockFileOf(database))
    , m_lock(std::make_unique<QLockFile>(m_lockFile)) {
    // Age alone never makes a lock stale: the program holds it for days.
    // Only a holder that is no longer running on this host gives it up.
    m_lock->setStaleLockTime(0);
}

BookLock::~BookLock() = default;

BookLock::Result BookLock::tryLock() {
    if (m_lock->isLocked())
        return Result::Taken;
    if (m_lock->tryLock(0))
        return Result::Taken;
    return m_lock->error() == QLockFile::LockFailedError ? Result::HeldElsewhere : Result::Failed;
}

bool BookLock::isLocked() const {
    return m_lock->isLocked();
}

void BookLock::unlock() {
    m_lock->unlock();
}

std::optional<BookLock::Holder> BookLock::holder() const {
    Holder holder;
    if (!m_lock->getLockInfo(&holder.pid, &holder.host, &holder.application))
        return std::nullopt;
    return holder;
}

QString BookLock::lockFileOf(const QString& database) {
    const QFileInfo info(database);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical) + QStringLiteral(".LCK");
}

} // namespace store
