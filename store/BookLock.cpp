#include "BookLock.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

// How long a maker of a lock file may take between making it and writing
// its name into it: a few microseconds in fact.
constexpr int kMakingGraceMs = 100;

// Removes the lock file when no process has it locked; the holder of a lock
// keeps it locked for as long as it holds it. The file locked must still be
// the one at the path: another process may have replaced it meanwhile.
bool removeIfUnheld(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened {};
    struct stat named {};
    const bool unheld = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
                        ::stat(name.constData(), &named) == 0 && opened.st_ino == named.st_ino &&
                        opened.st_dev == named.st_dev && ::unlink(name.constData()) == 0;
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
    // Every holder keeps its lock file flock()ed for as long as it holds it,
    // so one that nobody has locked is left over: by a process killed while
    // making it (it names nobody yet: the maker gets a moment's grace to lock
    // it), or by one that died holding it. Qt removes the latter itself, but
    // puts that off for half a minute when a process killed during such a
    // removal left Qt's own helper file half made.
    if (!holder())
        QThread::msleep(kMakingGraceMs);
    if (!removeIfUnheld(m_lockFile))
        return Result::HeldElsewhere;
    removeIfUnheld(m_lockFile + QStringLiteral(".rmlock"));
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
