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
class BookLock {
public:
    /// Who holds a lock, as its lock file tells.
    struct Holder {
        qint64 pid = 0;
        QString host;
        QString application;
    };

    enum class Result {
        Taken,
        /// Another live process holds the lock.
        HeldElsewhere,
        /// The lock file cannot be made (no such folder, no permission).
        Failed,
    };

    /// The lock of `database`; not taken until tryLock().
    explicit BookLock(const QString& database);
    ~BookLock();
    BookLock(const BookLock&) = delete;
    BookLock& operator=(const BookLock&) = delete;

    /// Takes the lock without waiting.
    Result tryLock();
    bool isLocked() const;
    void unlock();

    /// The holder named in the lock file, if there is a readable one.
    std::optional<Holder> holder() const;
    /// The lock file: the database's own path with ".LCK" added.
    const QString& lockFile() const { return m_lockFile; }

    /// The lock file of `database`. A database reached through a symbolic
    /// link has the lock of the file the link leads to.
    static QString lockFileOf(const QString& database);

private:
    QString m_lockFile;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace store
