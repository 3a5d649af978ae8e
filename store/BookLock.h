#pragma once

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace store {

/// One program at a time per book: a lock file beside the database file,
/// held by whoever writes into the book (the desktop program for its whole
/// run, the writing tallomer-db commands while they work). A lock left by a
/// process that died is taken over; a live holder's lock never goes stale.
/// The holder also locks the book file itself, so that a second writer that
/// reaches the same book under another name (a hard link) is refused too.
class BookLock {
public:
    /// Who holds a lock, as its lock file tells.
    struct Holder {
        /// 0 when the lock file names nobody or cannot be read.
        qint64 pid = 0;
        QString host;
        QString application;
        /// The login name of the lock file's owner.
        QString user;
        /// The lock file belongs to a user other than this process's.
        bool anotherUser = false;
    };

    enum class Result {
        Taken,
        /// Another live process holds the lock.
        HeldElsewhere,
        /// The lock file cannot be made (no such folder, no permission, a
        /// full or read-only disk): failure() tells why.
        Failed,
        /// A lock file nobody holds any more that this user may not remove:
        /// another user's program left it in a shared folder.
        LeftByAnotherUser,
    };

    /// The lock of `database`; not taken until tryLock().
    explicit BookLock(const QString& database);
    ~BookLock();
    BookLock(const BookLock&) = delete;
    BookLock& operator=(const BookLock&) = delete;

    /// Takes the lock without waiting.
    Result tryLock();
    bool isLocked() const;
    /// Gives the lock back. Call it only once this process has closed its
    /// connections to the book: closing the book file here drops the
    /// engine's own locks on it.
    void unlock();

    /// The holder of the lock file, if there is one: its owner, and who it
    /// names when it is readable.
    std::optional<Holder> holder() const;
    /// Why the last tryLock() could not make the lock file: the system's
    /// error number (errno), 0 when it did not fail so.
    int failure() const { return m_failure; }
    /// The lock file: the database's own path with ".LCK" added.
    const QString& lockFile() const { return m_lockFile; }

    /// The lock file of `database`. A database reached through a symbolic
    /// link has the lock of the file the link leads to.
    static QString lockFileOf(const QString& database);

private:
    /// Locks the book file, once its lock file is taken; gives that back
    /// when another name of the book holds it.
    Result lockBook();

    QString m_lockFile;
    QString m_bookFile;
    std::unique_ptr<QLockFile> m_lock;
    /// The book file, open and flock()ed while the lock is held.
    int m_book = -1;
    int m_failure = 0;
};

} // namespace store
