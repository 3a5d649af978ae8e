#include "SystemErrorText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDevice>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include <sys/stat.h>

namespace store {

namespace {

struct Known {
    int error;
    const char* text;
};

// The failures a cashier can meet with a book, a backup or an export file.
const std::initializer_list<Known> kKnown = {
    {ENOENT, "文件或文件夹不存在"},
    {EACCES, "没有访问权限"},
    {EPERM, "不允许这样操作"},
    {EROFS, "磁盘是只读的"},
    {ENOSPC, "磁盘空间不足"},
    {EDQUOT, "超出了磁盘配额"},
    {EEXIST, "文件已经存在"},
    {EISDIR, "这是一个文件夹"},
    {ENOTDIR, "路径中有一部分不是文件夹"},
    {ENAMETOOLONG, "文件名太长"},
    {EMFILE, "打开的文件太多"},
    {ENFILE, "系统打开的文件太多"},
    {EIO, "磁盘读写错误"},
    {EBUSY, "文件正在被使用"},
    {ETXTBSY, "文件正在被使用"},
    {EXDEV, "不能跨磁盘移动文件"},
    {ENOTEMPTY, "文件夹不是空的"},
    {EFBIG, "文件太大"},
    {ENOMEM, "内存不足"},
    {EINVAL, "参数无效"},
    {ELOOP, "路径中的符号链接太多"},
    {ENXIO, "设备不存在"},
    {ENODEV, "设备不存在"},
    {kNotRegularFile, "不是普通文件"},
    {ESTALE, "网络文件已失效"},
    {ETIMEDOUT, "操作超时"},
};

// Qt's own words for a folder opened as a file, as it words them and as its
// translations do.
bool saysItIsAFolder(const QString& text) {
    for (const auto& [context, words] :
         {std::pair{"QIODevice", "file to open is a directory"},
          std::pair{"QSaveFile", "Filename refers to a directory"}}) {
        if (text == QLatin1String(words) || text == QCoreApplication::translate(context, words))
            return true;
    }
    return false;
}

bool isChinese(const QString& text) {
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return text.contains(han);
}

QString whatTheFileFailed(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::ReadError:
        return QStringLiteral("读取文件出错");
    case QFileDevice::WriteError:
        return QStringLiteral("写入文件出错");
    case QFileDevice::FatalError:
        return QStringLiteral("文件操作出现严重错误");
    case QFileDevice::ResourceError:
        return QStringLiteral("系统资源不足");
    case QFileDevice::OpenError:
        return QStringLiteral("不能打开文件");
    case QFileDevice::AbortError:
        return QStringLiteral("文件操作被中止");
    case QFileDevice::TimeOutError:
        return QStringLiteral("文件操作超时");
    case QFileDevice::RemoveError:
        return QStringLiteral("不能删除文件");
    case QFileDevice::RenameError:
        return QStringLiteral("不能更改文件名");
    case QFileDevice::PositionError:
        return QStringLiteral("不能定位文件中的位置");
    case QFileDevice::ResizeError:
        return QStringLiteral("不能改变文件大小");
    case QFileDevice::PermissionsError:
        return QStringLiteral("没有访问权限");
    case QFileDevice::CopyError:
        return QStringLiteral("不能复制文件");
    case QFileDevice::NoError:
    case QFileDevice::UnspecifiedError:
        break;
    }
    return QStringLiteral("文件操作出错");
}

} // namespace

QString systemErrorText(int error) {
    if (error == 0)
        return QStringLiteral("原因不明");
    for (const Known& known : kKnown) {
        if (known.error == error)
            return QString::fromUtf8(known.text);
    }
    return QStringLiteral("系统错误（代码 %1）").arg(error);
}

int notRegularFileError(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    return S_ISREG(info.st_mode) ? 0 : kNotRegularFile;
}

QString deviceErrorText(const QIODevice& device) {
    const QString text = device.errorString();
    // Qt words a system error as qt_error_string() does, which translates a few of them, or
    // as the system does; the number itself is gone by now.
    for (const Known& known : kKnown) {
        if (known.error > 0 && (text == qt_error_string(known.error) ||
                                text == QString::fromLocal8Bit(std::strerror(known.error))))
            return QString::fromUtf8(known.text);
    }
    if (saysItIsAFolder(text))
        return systemErrorText(EISDIR);
    if (isChinese(text))
        return text;
    if (const auto* file = qobject_cast<const QFileDevice*>(&device))
        return whatTheFileFailed(file->error());
    return QStringLiteral("读写出错");
}

} // namespace store
