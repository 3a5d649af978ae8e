#pragma once

// A temporary folder with a file system mounted on it, where the machine lets
// the tests mount (as root); unmounted when it goes.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>

namespace testing_support {

class MountedFolder {
public:
    MountedFolder() = default;
    ~MountedFolder() {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
    }
    MountedFolder(const MountedFolder&) = delete;
    MountedFolder& operator=(const MountedFolder&) = delete;

    /// Runs mount with `arguments` and the folder last; false where not allowed.
    bool mount(const QStringList& arguments) {
        if (::geteuid() != 0 ||
            QProcess::execute(QStringLiteral("mount"), arguments + QStringList{m_dir.path()}) != 0)
            return false;
        m_mounted = true;
        return true;
    }
    /// Mounts it again with other options (the folder's own mount).
    bool remount(const QString& options) {
        return QProcess::execute(QStringLiteral("mount"),
                                 {QStringLiteral("-o"), options, m_dir.path()}) == 0;
    }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace testing_support
