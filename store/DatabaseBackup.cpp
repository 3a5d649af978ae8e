#include "DatabaseBackup.h"

#include "BookCopy.h"
#include "BookLocation.h"
#include "Connection.h"
#include "Database.h"
#include "DatabaseCheck.h"
#include "EngineErrorText.h"
#include "NewFileName.h"
#include "SystemErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

// The files SQLite keeps beside a database while it is in use.
const char* const kCompanions[] = {"-wal", "-shm", "-journal"};

constexpr qint64 kCopyChunk = 1 << 20;
// Pages per step of a copy that reports its progress: 4 MiB of 4 KiB pages.
constexpr int kPagesPerStep = 1024;

// For tests: the file whose replacement fails to be made durable.
QString unsyncedTarget;

QByteArray local(const QString& path) {
    return QFile::encodeName(path);
}

// `what` names the step that failed: "不能读取", "不能写入" ...
[[noreturn]] void failed(const QString& what, const QString& path) {
    throw BackupError(BackupError::Reason::Failed,
                      QStringLiteral("%1“%2”：%3")
                          .arg(what, QDir::toNativeSeparators(path), systemErrorText(errno)));
}

[[noreturn]] void failed(const QString& what, const QString& path, const QFile& file) {
    throw BackupError(BackupError::Reason::Failed,
                      QStringLiteral("%1“%2”：%3")
                          .arg(what, QDir::toNativeSeparators(path), deviceErrorText(file)));
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(local(a).constData(), &sa) == 0 && ::stat(local(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The database file itself or one of the journal files that belong to it,
// whether such a journal file exists at the moment or not.
bool isPartOf(const QString& path, const QString& database) {
    if (sameFile(path, database))
        return true;
    const QFileInfo file(path);
    const QFileInfo db(database);
    const bool sameFolder = sameFile(file.absolutePath(), db.absolutePath());
    for (const char* suffix : kCompanions) {
        if (sameFile(path, database + QLatin1String(suffix)) ||
            (sameFolder && file.fileName() == db.fileName() + QLatin1String(suffix)))
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
        failed(QStringLiteral("不能打开"), path);
    const bool ok = ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (!ok)
        failed(QStringLiteral("不能写入"), path);
}

// Creates an empty file that only its owner may read and write and returns its
// descriptor; -1 if the name is taken. A failure names `shownAs`, the file the user chose.
int createPrivateFile(const QString& path, const QString& shownAs) {
    const int fd = ::open(local(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST)
        failed(QStringLiteral("不能建立"), shownAs);
    return fd;
}

/// A new private file beside a file it is meant to replace: removed, with any
/// journal files SQLite made for it, unless it was moved over its target.
/// While it exists it holds an exclusive lock on it, which the system drops
/// when the process ends however it ends: a temporary whose lock can be taken
/// was left by a copy that was killed.
class FileBeside {
public:
    explicit FileBeside(const QString& target)
        : m_target(QFileInfo(target).absoluteFilePath()) {
        for (;;) {
            m_path = hiddenTemporaryName(m_target, QRandomGenerator::global()->generate());
            m_lock = createPrivateFile(m_path, m_target);
            if (m_lock < 0)
                continue;
            // Another process tidying up may have taken the new file for a
            // stale one in the instant before the lock. Where the file system
            // has no locks, no temporary there is ever taken for a stale one.
            const bool locked = ::flock(m_lock, LOCK_EX | LOCK_NB) == 0;
            if ((locked && stillNamed(m_lock, m_path)) || (!locked && errno != EWOULDBLOCK))
                break;
            ::close(m_lock);
        }
    }
    ~FileBeside() {
        if (!m_path.isEmpty()) {
            removeCompanions(m_path);
            ::unlink(local(m_path).constData());
        }
        ::close(m_lock);
    }
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    const QString& path() const { return m_path; }

    /// Moves the finished file over the target in one step. Journal files of
    /// the target's former content are removed first: left beside the new
    /// content, SQLite would apply them to it. Fails with Unconfirmed when the
    /// rename was made but could not be made durable.
    void replaceTarget() {
        sync(m_path, O_RDONLY);
        removeCompanions(m_path);
        removeCompanions(m_target);
        if (::rename(local(m_path).constData(), local(m_target).constData()) != 0)
            failed(QStringLiteral("不能替换"), m_target);
        m_path.clear();
        syncFolder();
    }

    /// Gives the finished file the target's name, which must still be free:
    /// a file made there meanwhile is never replaced.
    void takeTargetName() {
        sync(m_path, O_RDONLY);
        removeCompanions(m_path);
        if (!renameToFreeName(m_path, m_target)) {
            if (errno == EEXIST)
                throw BackupError(
                    BackupError::Reason::Failed,
                    QStringLiteral("“%1”已经存在").arg(QDir::toNativeSeparators(m_target)));
            failed(QStringLiteral("不能建立"), m_target);
        }
        m_path.clear();
        syncFolder();
    }

private:
    // Makes the new name durable; Unconfirmed when it cannot be.
    void syncFolder() {
        try {
            const QString folder = QFileInfo(m_target).absolutePath();
            if (m_target == unsyncedTarget) {
                errno = EIO;
                failed(QStringLiteral("不能写入"), folder);
            }
            sync(folder, O_RDONLY | O_DIRECTORY);
        } catch (const BackupError& e) {
            throw BackupError(BackupError::Reason::Unconfirmed, e.message());
        }
    }

    QString m_target;
    QString m_path;
    int m_lock = -1;
};

// Removes a temporary left by a killed copy, with its journal files, unless a
// running copy still holds its lock.
void removeIfStale(const QString& path) {
    const int fd = ::open(local(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        stillNamed(fd, path)) {
        removeCompanions(path);
        ::unlink(local(path).constData());
    }
    ::close(fd);
}

// Appends the whole of `from` to the empty private file `to`, durably.
void copyBytes(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        failed(QStringLiteral("不能读取"), from, in);
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Append))
        failed(QStringLiteral("不能写入"), to, out);
    for (;;) {
        const QByteArray chunk = in.read(kCopyChunk);
        if (chunk.isEmpty() && in.error() == QFileDevice::NoError)
            break;
        if (chunk.isEmpty())
            failed(QStringLiteral("不能读取"), from, in);
        if (out.write(chunk) != chunk.size())
            failed(QStringLiteral("不能写入"), to, out);
    }
    if (!out.flush())
        failed(QStringLiteral("不能写入"), to, out);
    out.close();
    sync(to, O_RDONLY);
}

// A failure names `shownAs`, the file the user chose, not the temporary.
void copyPages(Database& source, const QString& to, const QString& shownAs,
               const BackupProgress& progress) {
    Database copy(to, Database::OpenMode::ExistingOnly);
    sqlite3_backup* backup = sqlite3_backup_init(copy.handle(), "main", source.handle(), "main");
    if (!backup)
        throw BackupError(BackupError::Reason::Failed,
                          engineErrorText(sqlite3_errcode(copy.handle()),
                                          QString::fromUtf8(sqlite3_errmsg(copy.handle()))));
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
        throw BackupError(
            BackupError::Reason::Failed,
            QStringLiteral("%1：%2").arg(engineErrorText(rc, QString::fromUtf8(sqlite3_errstr(rc))),
                                         QDir::toNativeSeparators(shownAs)));
    // The copy carries the source's WAL marker; a backup should open on its
    // own, without journal files beside it.
    copy.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

// Rows copied told as thousandths: a book's rows may be more than an int counts.
CopyProgress inThousandths(const BackupProgress& progress) {
    if (!progress)
        return {};
    return [progress](qint64 copied, qint64 total) {
        progress(total > 0 ? int(copied * 1000 / total) : 1000, 1000);
    };
}

// A server book goes into a file book row by row; the progress counts rows.
void copyServerRows(Database& source, const QString& to, const BackupProgress& progress) {
    copyBookToEmptyFile(source, to, inThousandths(progress));
}

void requireName(const QString& path) {
    if (path.trimmed().isEmpty())
        throw BackupError(BackupError::Reason::Failed, QStringLiteral("没有指定文件"));
}

// A copy of a damaged book would one day be restored in place of a sound one:
// a copy is kept only when it passes the check, read back from its file.
void requireSoundCopy(const QString& copy, const Database& book) {
    QStringList problems;
    try {
        Database db(copy, Database::OpenMode::ReadOnly);
        problems = quickCheckProblems(db);
    } catch (const EngineError& e) {
        problems = {e.message()};
    }
    if (problems.isEmpty())
        return;
    constexpr int kLinesShown = 3;
    throw BackupError(BackupError::Reason::Damaged,
                      QStringLiteral("数据库文件“%1”已经损坏，其中的数据可能不完整！\n"
                                     "它的副本没有通过检查，没有保存：\n%2")
                          .arg(book.isServer() ? shownBookName(book.path())
                                               : QDir::toNativeSeparators(
                                                     QFileInfo(book.path()).absoluteFilePath()),
                               problems.mid(0, kLinesShown).join(QLatin1Char('\n'))));
}

enum class Check { SoundOnly, AsItIs };

void copyDatabase(Database& source, const QString& target, const BackupProgress& progress,
                  Check check) {
    requireName(target);
    if (isPartOf(target, source.path()))
        throw BackupError(
            BackupError::Reason::SameFile,
            QStringLiteral("“%1”就是数据库文件本身").arg(QDir::toNativeSeparators(target)));
    if (QFileInfo(target).isDir())
        throw BackupError(BackupError::Reason::Failed,
                          QStringLiteral("“%1”是一个文件夹").arg(QDir::toNativeSeparators(target)));
    removeStaleTemporaries(target);
    FileBeside copy(target);
    if (source.isServer())
        copyServerRows(source, copy.path(), progress);
    else
        copyPages(source, copy.path(), target, progress);
    if (check == Check::SoundOnly)
        requireSoundCopy(copy.path(), source);
    copy.replaceTarget();
}

// Copies the journal files of `from` that hold anything beside `to`, under
// the names SQLite looks for.
void copyJournals(const QString& from, const QString& to) {
    for (const char* suffix : {"-wal", "-journal"}) {
        const QString journal = from + QLatin1String(suffix);
        if (QFileInfo(journal).size() == 0)
            continue;
        const QString copy = to + QLatin1String(suffix);
        ::unlink(local(copy).constData());
        const int fd = createPrivateFile(copy, copy);
        if (fd >= 0)
            ::close(fd);
        copyBytes(journal, copy);
    }
}

// Replaces `to` with a byte copy of `from`.
void copyFileOver(const QString& from, const QString& to) {
    FileBeside copy(to);
    copyBytes(from, copy.path());
    copy.replaceTarget();
}

// Saves the working file before a restore replaces it, damaged or not: the
// restore is what mends a damaged book. Through SQLite when it opens, so that
// what its journals hold is settled first. When it is too damaged to open,
// byte for byte together with its journals, which opening the saved copy applies.
void keepPrevious(const QString& working, const QString& password) {
    const QString kept = keptPreviousFile(working);
    try {
        const auto db = openDatabaseFile(working, password);
        copyDatabase(*db, kept, {}, Check::AsItIs);
        return;
    } catch (const BackupError&) {
        throw;
    } catch (const EngineError&) {
    }
    copyFileOver(working, kept);
    for (const char* suffix : {"-wal", "-journal"}) {
        const QString journal = working + QLatin1String(suffix);
        if (QFileInfo(journal).size() > 0)
            copyFileOver(journal, kept + QLatin1String(suffix));
    }
}

// The last connection to close removes the WAL; one still there after ours
// closed belongs to another program, whose writes would go astray. A file too
// damaged to open tells nothing.
bool inUseElsewhere(const QString& working, const QString& password) {
    try {
        openDatabaseFile(working, password);
    } catch (const EngineError&) {
        return false;
    }
    return QFileInfo::exists(working + QLatin1String("-wal"));
}

// Makes the copy of a chosen file whole on its own and verifies it; refuses
// it as Unusable, naming the chosen file.
void settleAndVerify(const QString& copy, const QString& source, const QString& password) {
    QStringList problems;
    try {
        openDatabaseFile(copy, password);
        problems = checkDatabaseFile(copy, password);
    } catch (const EngineError& e) {
        // A disk that fails the copy (full, say) says nothing about the chosen file.
        if (e.systemError() != 0)
            throw BackupError(BackupError::Reason::Failed, e.message());
        problems = {e.message()};
    }
    if (problems.isEmpty())
        return;
    const QString chosen = QDir::toNativeSeparators(source);
    problems.replaceInStrings(copy, chosen)
        .replaceInStrings(QDir::toNativeSeparators(copy), chosen);
    throw BackupError(BackupError::Reason::Unusable, problems.join(QLatin1Char('\n')));
}

} // namespace

QString keptPreviousFile(const QString& working) {
    return working + QStringLiteral(".bak");
}

void removeStaleTemporaries(const QString& file) {
    const QFileInfo target(QFileInfo(file).absoluteFilePath());
    const QRegularExpression own(QStringLiteral("^\\.%1\\.[0-9a-f]{8}\\.tmp(-wal|-shm|-journal)?$")
                                     .arg(QRegularExpression::escape(target.fileName())));
    const QDir folder(target.absolutePath());
    QStringList temporaries;
    QStringList companions;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = own.match(name);
        if (match.hasMatch())
            (match.captured(1).isEmpty() ? temporaries : companions) << folder.filePath(name);
    }
    for (const QString& path : temporaries)
        removeIfStale(path);
    // Journal files whose temporary is gone belong to no running copy.
    for (const QString& path : companions) {
        const QString temporary = path.left(path.lastIndexOf(QLatin1Char('-')));
        if (!QFileInfo::exists(temporary))
            ::unlink(local(path).constData());
    }
}

void failReplacingSyncForTesting(const QString& target) {
    unsyncedTarget = target.isEmpty() ? QString() : QFileInfo(target).absoluteFilePath();
}

void backupDatabase(Database& source, const QString& target, const BackupProgress& progress) {
    copyDatabase(source, target, progress, Check::SoundOnly);
}

void createFileWhole(const QString& target, const std::function<void(const QString&)>& write) {
    requireName(target);
    removeStaleTemporaries(target);
    FileBeside fresh(target);
    write(fresh.path());
    fresh.takeTargetName();
}

void backupDatabaseFile(const QString& source, const QString& password, const QString& target) {
    const auto db = isServerBook(source) ? openServerBook(source, password, true)
                                         : openDatabaseFileToRead(source, password);
    backupDatabase(*db, target);
}

namespace {

void requireReadableFile(const QString& source) {
    requireName(source);
    if (const int error = notRegularFileError(source); error != 0) {
        errno = error;
        failed(QStringLiteral("不能读取"), source);
    }
}

// A copy of the chosen file, with what its journals hold, settled and
// verified as a restore takes it.
void copyVerified(const QString& source, const QString& copy, const QString& password) {
    copyBytes(source, copy);
    // Committed transactions of a database that was still in use may wait in
    // its WAL, and a write cut short leaves a journal to roll back: opening
    // the copy with them settles it.
    copyJournals(source, copy);
    settleAndVerify(copy, source, password);
}

} // namespace

QString restoreServerBook(const QString& source, Database& server, const QString& password,
                          const std::function<QString()>& keepCurrent,
                          const BackupProgress& progress) {
    requireReadableFile(source);
    // The chosen file is only read: its copy is settled and checked in the
    // temporary folder, whatever folder the file is in.
    const QString beside = QDir(QDir::tempPath()).filePath(QStringLiteral("tallomer-restore.mdb"));
    removeStaleTemporaries(beside);
    FileBeside fresh(beside);
    copyVerified(source, fresh.path(), password);
    QString kept;
    try {
        kept = keepCurrent();
    } catch (const EngineError& e) {
        throw BackupError(BackupError::Reason::Failed, e.message());
    }
    try {
        Database file(fresh.path(), Database::OpenMode::ReadOnly);
        replaceBookRows(file, server, inThousandths(progress));
    } catch (const BackupError&) {
        throw;
    } catch (const EngineError& e) {
        throw BackupError(BackupError::Reason::Failed, e.message());
    }
    return kept;
}

void restoreDatabaseFile(const QString& source, const QString& working, const QString& password) {
    requireReadableFile(source);
    if (isPartOf(source, working))
        throw BackupError(BackupError::Reason::SameFile,
                          QStringLiteral("“%1”就是正在使用的数据库文件本身")
                              .arg(QDir::toNativeSeparators(source)));

    // A book this user may only read would be opened read-only below, which
    // leaves its WAL behind as though another program were using it.
    if (QFileInfo::exists(working) && ::access(local(working).constData(), W_OK) != 0)
        failed(QStringLiteral("不能写入"), working);

    removeStaleTemporaries(working);
    removeStaleTemporaries(keptPreviousFile(working));
    FileBeside fresh(working);
    copyVerified(source, fresh.path(), password);

    if (QFileInfo::exists(working) && inUseElsewhere(working, password))
        throw BackupError(
            BackupError::Reason::Failed,
            QStringLiteral("“%1”正在被另一个程序使用").arg(QDir::toNativeSeparators(working)));

    // Every check has passed: only now is the former book kept and replaced.
    if (QFileInfo::exists(working)) {
        try {
            keepPrevious(working, password);
        } catch (const BackupError& e) {
            // The working file is as it was: the restore did not happen.
            throw BackupError(BackupError::Reason::Failed, e.message());
        }
    }
    fresh.replaceTarget();
}

} // namespace store
