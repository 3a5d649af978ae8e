#include "DatabaseBackup.h"

#include "Connection.h"
#include "Database.h"
#include "DatabaseCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

// The files SQLite keeps beside a database while it is in use.
const char* const kCompanions[] = {"-wal", "-shm", "-journal"};

constexpr qint64 kCopyChunk = 1 << 20;
// Pages per step of a copy that reports its progress: 4 MiB of 4 KiB pages.
constexpr int kPagesPerStep = 1024;

QByteArray local(const QString& path) {
    return QFile::encodeName(path);
}

[[noreturn]] void failed(const QString& what, const QString& path) {
    throw BackupError(BackupError::Reason::Failed,
                      QStringLiteral("%1 '%2': %3")
                          .arg(what, QDir::toNativeSeparators(path),
                               QString::fromLocal8Bit(std::strerror(errno))));
}

[[noreturn]] void failed(const QString& what, const QString& path, const QFile& file) {
    throw BackupError(BackupError::Reason::Failed,
                      QStringLiteral("%1 '%2': %3")
                          .arg(what, QDir::toNativeSeparators(path), file.errorString()));
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(local(a).constData(), &sa) == 0 && ::stat(local(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The database file itself or one of the journal files that belong to it.
bool isPartOf(const QString& path, const QString& database) {
    if (sameFile(path, database))
        return true;
    for (const char* suffix : kCompanions) {
        if (sameFile(path, database + QLatin1String(suffix)))
            return true;
    }
    return false;
}

void removeCompanions(const QString& database) {
    for (const char* suffix : kCompanions)
        ::unlink(local(database + QLatin1String(suffix)).constData());
}

// Makes a file's data, or a folder's entries, durable.
void sync(const QString& path, int flags) {
    const int fd = ::open(local(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        failed(QStringLiteral("Cannot open"), path);
    const bool ok = ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (!ok)
        failed(QStringLiteral("Cannot write"), path);
}

// Creates an empty file that only its owner may read and write; false if the name is taken.
bool createPrivateFile(const QString& path) {
    const int fd = ::open(local(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST)
            return false;
        failed(QStringLiteral("Cannot create"), path);
    }
    ::close(fd);
    return true;
}

/// A new private file beside a file it is meant to replace: removed, with any
/// journal files SQLite made for it, unless it was moved over its target.
class FileBeside {
public:
    explicit FileBeside(const QString& target)
        : m_target(QFileInfo(target).absoluteFilePath()) {
        const QFileInfo info(m_target);
        for (;;) {
            m_path = info.absolutePath() +
                     QStringLiteral("/.%1.%2.tmp")
                         .arg(info.fileName())
                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            if (createPrivateFile(m_path))
                break;
        }
    }
    ~FileBeside() {
        if (m_path.isEmpty())
            return;
        ::unlink(local(m_path).constData());
        removeCompanions(m_path);
    }
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    const QString& path() const { return m_path; }

    /// Moves the finished file over the target in one step. Journal files of
    /// the target's former content are removed first: left beside the new
    /// content, SQLite would apply them to it.
    void replaceTarget() {
        sync(m_path, O_RDONLY);
        removeCompanions(m_path);
        removeCompanions(m_target);
        if (::rename(local(m_path).constData(), local(m_target).constData()) != 0)
            failed(QStringLiteral("Cannot replace"), m_target);
        m_path.clear();
        sync(QFileInfo(m_target).absolutePath(), O_RDONLY | O_DIRECTORY);
    }

private:
    QString m_target;
    QString m_path;
};

// Appends the whole of `from` to the empty private file `to`, durably.
void copyBytes(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        failed(QStringLiteral("Cannot read"), from, in);
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Append))
        failed(QStringLiteral("Cannot write"), to, out);
    for (;;) {
        const QByteArray chunk = in.read(kCopyChunk);
        if (chunk.isEmpty() && in.error() == QFileDevice::NoError)
            break;
        if (chunk.isEmpty())
            failed(QStringLiteral("Cannot read"), from, in);
        if (out.write(chunk) != chunk.size())
            failed(QStringLiteral("Cannot write"), to, out);
    }
    if (!out.flush())
        failed(QStringLiteral("Cannot write"), to, out);
    out.close();
    sync(to, O_RDONLY);
}

void copyPages(Database& source, const QString& to, const BackupProgress& progress) {
    Database copy(to, Database::OpenMode::ExistingOnly);
    sqlite3_backup* backup = sqlite3_backup_init(copy.handle(), "main", source.handle(), "main");
    if (!backup)
        throw BackupError(BackupError::Reason::Failed,
                          QString::fromUtf8(sqlite3_errmsg(copy.handle())));
    int rc = SQLITE_OK;
    if (!progress) {
        rc = sqlite3_backup_step(backup, -1);
    } else {
        do {
            rc = sqlite3_backup_step(backup, kPagesPerStep);
            const int total = sqlite3_backup_pagecount(backup);
            progress(total - sqlite3_backup_remaining(backup), total);
        } while (rc == SQLITE_OK);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw BackupError(BackupError::Reason::Failed,
                          QStringLiteral("%1: %2").arg(QString::fromUtf8(sqlite3_errstr(rc)),
                                                       QDir::toNativeSeparators(to)));
    // The copy carries the source's WAL marker; a backup should open on its
    // own, without journal files beside it.
    copy.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

// Replaces `to` with a byte copy of `from`.
void copyFileOver(const QString& from, const QString& to) {
    FileBeside copy(to);
    copyBytes(from, copy.path());
    copy.replaceTarget();
}

// Saves the working file before a restore replaces it. Through SQLite when it
// opens, so that committed pages still in its WAL are included and the WAL is
// emptied into the file: true then. When it is too damaged to open, byte for
// byte together with its WAL, which opening the saved copy applies: false.
bool keepPrevious(const QString& working, const QString& password) {
    const QString kept = keptPreviousFile(working);
    try {
        const auto db = openDatabaseFile(working, password);
        db->exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        backupDatabase(*db, kept);
        return true;
    } catch (const EngineError&) {
    }
    copyFileOver(working, kept);
    const QString wal = working + QLatin1String("-wal");
    if (QFileInfo(wal).size() > 0)
        copyFileOver(wal, kept + QLatin1String("-wal"));
    return false;
}

void requireName(const QString& path) {
    if (path.trimmed().isEmpty())
        throw BackupError(BackupError::Reason::Failed, QStringLiteral("No file was named"));
}

} // namespace

QString keptPreviousFile(const QString& working) {
    return working + QStringLiteral(".bak");
}

void backupDatabase(Database& source, const QString& target, const BackupProgress& progress) {
    requireName(target);
    if (isPartOf(target, source.path()))
        throw BackupError(
            BackupError::Reason::SameFile,
            QStringLiteral("'%1' is the database itself").arg(QDir::toNativeSeparators(target)));
    if (QFileInfo(target).isDir())
        throw BackupError(BackupError::Reason::Failed,
                          QStringLiteral("'%1' is a folder").arg(QDir::toNativeSeparators(target)));
    FileBeside copy(target);
    copyPages(source, copy.path(), progress);
    copy.replaceTarget();
}

void backupDatabaseFile(const QString& source, const QString& password, const QString& target) {
    const auto db = openDatabaseFile(source, password);
    backupDatabase(*db, target);
}

void restoreDatabaseFile(const QString& source, const QString& working, const QString& password) {
    requireName(source);
    if (!QFileInfo(source).isFile()) {
        errno = ENOENT;
        failed(QStringLiteral("Cannot read"), source);
    }
    if (isPartOf(source, working))
        throw BackupError(BackupError::Reason::SameFile,
                          QStringLiteral("'%1' is the working database itself")
                              .arg(QDir::toNativeSeparators(source)));

    FileBeside fresh(working);
    copyBytes(source, fresh.path());
    // Committed transactions of a database that was still in use may wait in
    // its WAL; opening the copy with it applies them.
    const QString sourceWal = source + QLatin1String("-wal");
    if (QFileInfo(sourceWal).size() > 0) {
        const QString freshWal = fresh.path() + QLatin1String("-wal");
        ::unlink(local(freshWal).constData());
        createPrivateFile(freshWal);
        copyBytes(sourceWal, freshWal);
    }
    const QStringList problems = checkDatabaseFile(fresh.path(), password);
    if (!problems.isEmpty())
        throw BackupError(BackupError::Reason::Unusable, problems.join(QLatin1Char('\n')));

    // The last connection to close removes the WAL; one still there after ours
    // closed belongs to another program, whose writes would go astray.
    if (QFileInfo::exists(working) && keepPrevious(working, password) &&
        QFileInfo::exists(working + QLatin1String("-wal")))
        throw BackupError(BackupError::Reason::Failed,
                          QStringLiteral("'%1' is in use by another program")
                              .arg(QDir::toNativeSeparators(working)));
    fresh.replaceTarget();
}

} // namespace store
