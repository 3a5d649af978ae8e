#include "BookFiles.h"

#include "BookLock.h"
#include "DatabaseBackup.h"
#include "SafetyCopies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace store {

namespace {

// The path with every link and "." or ".." resolved, for a file that exists
// or one that is yet to be made in an existing folder.
QString resolved(const QString& path) {
    const QFileInfo info(path);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace

bool isSameFile(const QString& a, const QString& b) {
    if (resolved(a) == resolved(b))
        return true;
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool isBookOrItsFile(const QString& database, const QString& path) {
    // The companions follow both the name the book was given and its real
    // name: the engine and the lock each use one of them.
    for (const QString& book : {QFileInfo(database).absoluteFilePath(), resolved(database)}) {
        for (const QString& own : {book, book + QStringLiteral("-wal"),
                                   book + QStringLiteral("-shm"), book + QStringLiteral("-journal"),
                                   BookLock::lockFileOf(book), keptPreviousFile(book)}) {
            if (isSameFile(own, path))
                return true;
        }
        const QString copies = resolved(SafetyCopies(book).folder()) + QLatin1Char('/');
        if (resolved(path).startsWith(copies))
            return true;
    }
    return false;
}

} // namespace store
