#include "SafetyCopies.h"

#include "BookLocation.h"
#include "Database.h"
#include "Statement.h"
#include "SystemErrorText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>

#include <libpq-fe.h>

#include <algorithm>
#include <cerrno>

namespace store {

namespace {

const QString kFolderName = QStringLiteral("backups");
const QString kDayFormat = QStringLiteral("yyyy-MM-dd");

qint64 bytesFree(const QString& folder) {
    return QStorageInfo(folder).bytesAvailable();
}

// The book with the committed pages that still wait in its WAL; for a server
// book what its database takes on the server, more than its copy needs.
qint64 bookSize(Database& book, const QString& database) {
    if (book.isServer()) {
        Statement size(book, QStringLiteral("SELECT pg_database_size(current_database())"));
        return size.step() ? size.int64(0) : 0;
    }
    return QFileInfo(database).size() + QFileInfo(database + QLatin1String("-wal")).size();
}

// The name of the database a connection string names, as libpq reads it.
QString serverDatabaseName(const QString& connectionString) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(connectionString.toUtf8().constData(), &error);
    PQfreemem(error);
    QString name;
    QString user;
    for (PQconninfoOption* o = options; o && o->keyword; ++o) {
        if (o->val && qstrcmp(o->keyword, "dbname") == 0)
            name = QString::fromUtf8(o->val);
        else if (o->val && qstrcmp(o->keyword, "user") == 0)
            user = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    // Without a database named, libpq takes the user's name, and without that the login's.
    if (name.isEmpty())
        name = user.isEmpty() ? qEnvironmentVariable("PGDATABASE", qEnvironmentVariable("USER"))
                              : user;
    // The name becomes a file name: nothing in it may lead elsewhere.
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]")),
                 QStringLiteral("_"));
    return name.isEmpty() || name.startsWith(QLatin1Char('.')) ? QStringLiteral("server") + name
                                                               : name;
}

} // namespace

SafetyCopies::SafetyCopies(const QString& database)
    : freeSpace(bytesFree)
    , m_database(isServerBook(database) ? database : QFileInfo(database).absoluteFilePath()) {
    if (isServerBook(database)) {
        m_stem = serverDatabaseName(database);
        m_folder = QDir::current().absoluteFilePath(kFolderName);
        return;
    }
    const QFileInfo info(m_database);
    m_stem = info.completeBaseName();
    m_folder = QDir(info.absolutePath()).filePath(kFolderName);
}

QString SafetyCopies::dailyCopy(const QDate& day) const {
    return QDir(m_folder).filePath(
        QStringLiteral("%1-%2.mdb").arg(m_stem, day.toString(kDayFormat)));
}

QStringList SafetyCopies::dailyCopies() const {
    const QRegularExpression own(QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2})\\.mdb$")
                                     .arg(QRegularExpression::escape(m_stem)));
    QStringList copies;
    for (const QString& name : QDir(m_folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch match = own.match(name);
        if (match.hasMatch() && QDate::fromString(match.captured(1), kDayFormat).isValid())
            copies << QDir(m_folder).filePath(name);
    }
    // The names differ only in their day, written so that text order is day order.
    std::sort(copies.begin(), copies.end(), std::greater<>());
    return copies;
}

QStringList SafetyCopies::allCopies() const {
    const QRegularExpression initialisation(
        QStringLiteral("^%1-(init|restore)-\\d{4}-\\d{2}-\\d{2}-\\d{6}(-\\d+)?\\.mdb$")
            .arg(QRegularExpression::escape(m_stem)));
    QStringList copies = dailyCopies();
    for (const QString& name : QDir(m_folder).entryList(QDir::Files))
        if (initialisation.match(name).hasMatch())
            copies << QDir(m_folder).filePath(name);
    // Only the time of writing orders the two kinds: a day's copy is made at
    // its first close, and an initialisation may come after it.
    std::stable_sort(copies.begin(), copies.end(), [](const QString& a, const QString& b) {
        return QFileInfo(a).lastModified() > QFileInfo(b).lastModified();
    });
    return copies;
}

void SafetyCopies::makeFolder() const {
    if (QFileInfo(m_folder).isDir()) {
        removeStaleCopyTemporaries();
        return;
    }
    const QFileDevice::Permissions ownerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!QDir().mkdir(m_folder, ownerOnly))
        throw BackupError(BackupError::Reason::Failed,
                          QStringLiteral("不能建立文件夹“%1”：%2")
                              .arg(QDir::toNativeSeparators(m_folder), systemErrorText(errno)));
}

SafetyCopies::DailyResult SafetyCopies::makeDailyCopy(Database& book, const QDate& day,
                                                      const BackupProgress& progress) {
    DailyResult result;
    result.path = dailyCopy(day);
    makeFolder();
    if (QFileInfo::exists(result.path)) {
        result.outcome = Outcome::AlreadyMade;
        result.removed = prune();
        return result;
    }
    // Room for the copy and as much again, so that the copy never fills the
    // disk the book itself must go on growing on.
    result.needed = 2 * bookSize(book, m_database);
    result.available = freeSpace(m_folder);
    if (result.available < result.needed) {
        result.outcome = Outcome::NoRoom;
        result.path.clear();
        return result;
    }
    backupDatabase(book, result.path, progress);
    result.outcome = Outcome::Made;
    result.removed = prune();
    return result;
}

QString SafetyCopies::makeInitialisationCopy(Database& book, const QDateTime& now,
                                             const BackupProgress& progress) {
    return makeStampedCopy(book, QStringLiteral("init"), now, progress);
}

QString SafetyCopies::makeRestoreCopy(Database& book, const QDateTime& now,
                                      const BackupProgress& progress) {
    return makeStampedCopy(book, QStringLiteral("restore"), now, progress);
}

QString SafetyCopies::makeStampedCopy(Database& book, const QString& kind, const QDateTime& now,
                                      const BackupProgress& progress) {
    makeFolder();
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString stem = QStringLiteral("%1-%2-%3").arg(m_stem, kind, stamp);
    QString path = QDir(m_folder).filePath(stem + QStringLiteral(".mdb"));
    // Two copies in one second must not share a name.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(m_folder).filePath(QStringLiteral("%1-%2.mdb").arg(stem).arg(n));
    backupDatabase(book, path, progress);
    return path;
}

void SafetyCopies::removeStaleCopyTemporaries() const {
    // A copy killed half way (the program killed while closing) leaves a
    // temporary named after a copy of its day, which no later day replaces.
    const QRegularExpression own(QStringLiteral("^\\.(%1-.+\\.mdb)\\.[0-9a-f]{8}\\.tmp")
                                     .arg(QRegularExpression::escape(m_stem)));
    QSet<QString> copies;
    for (const QString& name : QDir(m_folder).entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = own.match(name);
        if (match.hasMatch())
            copies.insert(QDir(m_folder).filePath(match.captured(1)));
    }
    for (const QString& copy : copies)
        removeStaleTemporaries(copy);
}

QStringList SafetyCopies::prune() {
    QStringList removed;
    const QStringList copies = dailyCopies();
    for (qsizetype i = kDailyCopiesKept; i < copies.size(); ++i) {
        if (QFile::remove(copies[i]))
            removed << copies[i];
    }
    return removed;
}

} // namespace store
