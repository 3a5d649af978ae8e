#pragma once

// A file system with no room left, for writes that must fail as on a full
// disk: a small tmpfs mounted over a temporary folder where the machine lets
// the tests mount one.

#include "MountedFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace testing_support {

class FullFileSystem {
public:
    /// Mounts the file system and puts `kept` (a file that must outlive a
    /// failed write) into it before filling the rest.
    FullFileSystem(const QString& keptName, const QByteArray& kept) {
        if (!m_folder.mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                             QStringLiteral("size=256k"), QStringLiteral("tmpfs")}))
            return;
        QFile keptFile(filePath(keptName));
        if (!keptFile.open(QIODevice::WriteOnly) || keptFile.write(kept) != kept.size())
            return;
        keptFile.close();
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        m_full = true;
    }

    /// False where the machine allows no mount: the test is skipped.
    bool ready() const { return m_full; }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }
    /// The files in it other than the filler.
    QStringList files() const {
        QStringList names = QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("filler"));
        return names;
    }

private:
    MountedFolder m_folder;
    bool m_full = false;
};

} // namespace testing_support
