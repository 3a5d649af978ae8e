#include "BookLock.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace store {

namespace {

// How long a maker of a lock file may take between making it and writing
// its name into it: a few microseconds in fact.
constexpr int kMakingGraceMs = 100;

enum class Leftover { Removed, Held, NotRemovable };

// Removes the lock file when no process has it locked; the holder of a lock
// keeps it locked for as long as it holds it. The file locked must still be
// the one at the path: another process may have replaced it meanwhile. It is
// opened for reading only: one another user made is not writable here, and
// may still be left over.
Leftover removeIfUnheld(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Leftover::Held;
    struct stat opened {};
    struct stat named {};
    Leftover result = Leftover::Held;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
        ::stat(name.constData(), &named) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev) {
        if (::unlink(name.constData()) == 0)
            result = Leftover::Removed;
        else if (errno == EACCES || errno == EPERM)
            result = Leftover::NotRemovable;
    }
    ::close(fd);
    return result;
}

// The login name of the user `uid`, or the number where it has none.
QString userName(uid_t uid) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

} // namespace

BookLock::BookLock(const QString& database)
    : m_lockFile(lockFileOf(database))
    , m_bookFile(m_lockFile.chopped(int(QStringLiteral(".LCK").size())))
    , m_lock(std::make_unique<QLockFile>(m_lockFile)) {
    // Age alone never makes a lock stale: the program holds it for days.
    // Only a holder that is no longer running on this host gives it up.
    m_lock->setStaleLockTime(0);
}

BookLock::~BookLock() {
    if (m_book >= 0)
        ::close(m_book);
}

BookLock::Result BookLock::tryLock() {
    m_failure = 0;
    if (m_lock->isLocked())
        return Result::Taken;
    errno = 0;
    if (m_lock->tryLock(0))
        return lockBook();
    if (m_lock->error() != QLockFile::LockFailedError) {
        // QLockFile leaves the errno of the open or write that failed.
        m_failure = errno != 0 ? errno : EIO;
        return Result::Failed;
    }
    // Every holder keeps its lock file flock()ed for as long as it holds it,
    // so one that nobody has locked is left over: by a process killed while
    // making it (it names nobody yet: the maker gets a moment's grace to lock
    // it), or by one that died holding it. Qt removes the latter itself, but
    // puts that off for half a minute when a process killed during such a
    // removal left Qt's own helper file half made.
    if (const std::optional<Holder> named = holder(); !named || named->pid == 0)
        QThread::msleep(kMakingGraceMs);
    switch (removeIfUnheld(m_lockFile)) {
    case Leftover::Held:
        return Result::HeldElsewhere;
    case Leftover::NotRemovable:
        return Result::LeftByAnotherUser;
    case Leftover::Removed:
        break;
    }
    removeIfUnheld(m_lockFile + QStringLiteral(".rmlock"));
    return m_lock->tryLock(0) ? lockBook() : Result::HeldElsewhere;
}

BookLock::Result BookLock::lockBook() {
    // Another name of the same file (a hard link) has a lock file of its
    // own; the book file itself is one, whatever the name.
    const int fd =
        ::open(QFile::encodeName(m_bookFile).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Result::Taken; // a book yet to be made
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_book = fd;
        return Result::Taken;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    if (!held)
        return Result::Taken; // a file system without locks: the lock file alone
    m_lock->unlock();
    return Result::HeldElsewhere;
}

bool BookLock::isLocked() const {
    return m_lock->isLocked();
}

void BookLock::unlock() {
    if (m_book >= 0) {
        ::close(m_book);
        m_book = -1;
    }
    m_lock->unlock();
}

std::optional<BookLock::Holder> BookLock::holder() const {
    struct stat info {};
    if (::stat(QFile::encodeName(m_lockFile).constData(), &info) != 0)
        return std::nullopt;
    Holder holder;
    if (!m_lock->getLockInfo(&holder.pid, &holder.host, &holder.application))
        holder = Holder{};
    holder.user = userName(info.st_uid);
    holder.anotherUser = info.st_uid != ::geteuid();
    return holder;
}

QString BookLock::lockFileOf(const QString& database) {
    const QFileInfo info(database);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical) + QStringLiteral(".LCK");
}

} // namespace store
