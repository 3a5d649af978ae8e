#include "BookLock.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace store {

namespace {

// How long a maker of a lock file may take between making it and writing
// its name into it: a few microseconds in fact.
constexpr int kMakingGraceMs = 100;

// Removes the lock file when no process has it locked; the holder of a lock
// keeps it locked for as long as it holds it.
bool removeIfUnheld(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool unheld = ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                        ::unlink(QFile::encodeName(path).constData()) == 0;
    ::close(fd);
    return unheld;
}

} // namespace

BookLock::BookLock(const QString& database)
    : m_lockFile(lockFileOf(database))
    , m_lock(std::make_unique<QLockFile>(m_lockFile)) {
    // Age alone never makes a lock stale: the program holds it for days.
    // Only a holder that is no longer running on this host gives it up.
    m_lock->setStaleLockTime(0);
}

BookLock::~BookLock() = default;

BookLock::Result BookLock::tryLock() {
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return Result::Taken;
    if (m_lock->error() != QLockFile::LockFailedError)
        return Result::Failed;
    // A lock file that names no holder was left by a process killed between
    // making it and writing into it; QLockFile would wait for it to age,
    // which a lock that never goes stale by age never does. It is taken
    // over when, after a moment's grace, it still names no one and no
    // process has it locked.
    if (holder())
        return Result::HeldElsewhere;
    QThread::msleep(kMakingGraceMs);
    if (holder() || !removeIfUnheld(m_lockFile))
        return Result::HeldElsewhere;
    return m_lock->tryLock(0) ? Result::Taken : Result::HeldElsewhere;
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
