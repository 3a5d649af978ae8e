#include "DataFolder.h"

#include "store/DatabaseBackup.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

namespace {
const QString kDatabaseFile = QStringLiteral("xjrjz.mdb");

// The very first start: a new folder, the owner's alone (it holds the books
// and their backups), with a new database. Nothing is left when that fails,
// so that the next start tries again.
void makeUserFolder(const QString& userFolder) {
    const QFileDevice::Permissions ownerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QString parent = QFileInfo(QDir::cleanPath(userFolder)).absolutePath();
    if (!QDir().mkpath(parent) || !QDir().mkdir(userFolder, ownerOnly))
        throw store::EngineError(QStringLiteral("不能建立数据文件夹 %1").arg(userFolder));
    try {
        store::createDatabaseFile(QDir(userFolder).filePath(kDatabaseFile), store::standardPassword());
    } catch (const store::EngineError&) {
        QDir(userFolder).removeRecursively();
        throw;
    }
}

} // namespace

QString prepareDataFolder(const QString& programFolder, const QString& userFolder) {
    QString folder = programFolder;
    if (!QFileInfo::exists(QDir(programFolder).filePath(kDatabaseFile))) {
        folder = userFolder;
        if (!QFileInfo::exists(userFolder))
            makeUserFolder(userFolder);
    }
    const QString database = QDir(folder).filePath(kDatabaseFile);
    store::removeStaleTemporaries(database);
    store::removeStaleTemporaries(store::keptPreviousFile(database));
    return folder;
}

QString defaultUserDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tallomer");
}

} // namespace app
