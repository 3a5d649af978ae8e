#include "NewFileName.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

bool renameToFreeName(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot rename without replacing: a second name for
    // the file, which link() refuses to give when taken, then the first
    // name dropped. Folders have no second names.
    if (::link(source.constData(), target.constData()) != 0)
        return false;
    ::unlink(source.constData());
    return true;
}

QString hiddenTemporaryName(const QString& target, quint32 tag) {
    const QFileInfo file(target);
    return file.absolutePath() +
           QStringLiteral("/.%1.%2.tmp").arg(file.fileName()).arg(tag, 8, 16, QLatin1Char('0'));
}

bool stillNamed(int fd, const QString& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(QFile::encodeName(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace store
