#include "DataFolder.h"

#include "store/EngineError.h"
#include "store/NewDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

namespace {
const QString kDatabaseFile = QStringLiteral("xjrjz.mdb");
}

QString prepareDataFolder(const QString& programFolder, const QString& userFolder) {
    if (QFileInfo::exists(QDir(programFolder).filePath(kDatabaseFile)))
        return programFolder;
    // A new folder is the owner's alone: it holds the books and their backups.
    const QFileDevice::Permissions ownerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QString parent = QFileInfo(QDir::cleanPath(userFolder)).absolutePath();
    if (!QFileInfo(userFolder).isDir() &&
        (!QDir().mkpath(parent) || !QDir().mkdir(userFolder, ownerOnly)))
        throw store::EngineError(QStringLiteral("Cannot create the data folder %1").arg(userFolder));
    const QString database = QDir(userFolder).filePath(kDatabaseFile);
    if (!QFileInfo::exists(database))
        store::createDatabaseFile(database, store::standardPassword());
    return userFolder;
}

QString defaultUserDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tallomer");
}

} // namespace app
