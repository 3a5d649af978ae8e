#include "DataFolder.h"

#include "store/DatabaseBackup.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"
#include "store/NewFileName.h"
#include "store/SystemErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {
const QString kDatabaseFile = QStringLiteral("xjrjz.mdb");

// The data folder could not be made; `error` is the system's reason.
[[noreturn]] void cannotMake(const QString& folder, int error) {
    throw store::EngineError(
        QStringLiteral("不能建立数据文件夹 %1：%2").arg(folder, store::systemErrorText(error)),
        error);
}

/// A new folder, the owner's alone, locked while it exists, as the backup's
/// temporaries are: the lock drops however the process ends, so a building
/// folder whose lock can be taken was left by a start that was killed.
class BuildingFolder {
public:
    explicit BuildingFolder(const QFileInfo& userFolder) {
        for (int tries = 0; m_lock < 0; ++tries) {
            m_path = store::hiddenTemporaryName(userFolder.filePath(),
                                                QRandomGenerator::global()->generate());
            if (::mkdir(QFile::encodeName(m_path).constData(), 0700) != 0) {
                if (errno == EEXIST && tries < 100)
                    continue;
                cannotMake(userFolder.filePath(), errno);
            }
            // A start tidying up may have taken the new folder for a stale
            // one in the instant before the lock.
            m_lock = lockedIfStale(m_path);
            if (m_lock >= 0 && !store::stillNamed(m_lock, m_path)) {
                ::close(m_lock);
                m_lock = -1;
            }
        }
    }
    ~BuildingFolder() {
        if (!m_path.isEmpty())
            QDir(m_path).removeRecursively();
        ::close(m_lock);
    }
    BuildingFolder(const BuildingFolder&) = delete;
    BuildingFolder& operator=(const BuildingFolder&) = delete;

    const QString& path() const { return m_path; }
    void renamed() { m_path.clear(); }

    /// A descriptor holding the lock on the folder `path`, or -1 when another
    /// process holds it (or the folder is gone).
    static int lockedIfStale(const QString& path) {
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

private:
    QString m_path;
    int m_lock = -1;
};

// Removes the building folders of `userFolder` that killed starts left.
void removeStaleBuildingFolders(const QFileInfo& userFolder) {
    const QRegularExpression own(QStringLiteral("^\\.%1\\.[0-9a-f]{8}\\.tmp$")
                                     .arg(QRegularExpression::escape(userFolder.fileName())));
    const QDir parent(userFolder.absolutePath());
    for (const QString& name : parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!own.match(name).hasMatch())
            continue;
        const int lock = BuildingFolder::lockedIfStale(parent.filePath(name));
        if (lock >= 0) {
            QDir(parent.filePath(name)).removeRecursively();
            ::close(lock);
        }
    }
}

// The very first start: a new folder, the owner's alone (it holds the books
// and their backups), with a new database. It is made under a hidden name and
// takes its own only when complete: a start killed part way leaves no folder,
// so that the next start tries again.
void makeUserFolder(const QString& userFolder) {
    const QFileInfo user(QFileInfo(QDir::cleanPath(userFolder)).absoluteFilePath());
    errno = 0;
    if (!QDir().mkpath(user.absolutePath()))
        cannotMake(userFolder, errno);
    removeStaleBuildingFolders(user);
    BuildingFolder building(user);
    store::createDatabaseFile(QDir(building.path()).filePath(kDatabaseFile),
                              store::standardPassword());
    if (!store::renameToFreeName(building.path(), user.filePath())) {
        // Another start made it meanwhile: that one is used.
        if (errno != EEXIST && errno != ENOTEMPTY)
            cannotMake(userFolder, errno);
        return;
    }
    building.renamed();
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

void enterDataFolder(const QString& folder) {
    if (::chdir(QFile::encodeName(folder).constData()) == 0)
        return;
    const int error = errno;
    throw store::EngineError(
        QStringLiteral("不能进入数据文件夹 %1：%2").arg(folder, store::systemErrorText(error)),
        error);
}

QString defaultUserDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tallomer");
}

} // namespace app
