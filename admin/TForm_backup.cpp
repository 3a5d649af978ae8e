#include "TForm_backup.h"

#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/SafetyCopies.h"
#include "ui/Choosers.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace admin {

namespace {

// The folder of the last chosen backup, for the rest of the run: the program keeps no
// settings file.
QString s_lastFolder;

// A backup belongs away from the book: not in its folder, nor among the safety copies.
QString firstFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

TForm_backup::TForm_backup(QWidget* owner)
    : DatabaseFileWindow(owner, QStringLiteral("系统备份管理"), QStringLiteral("备份")) {
    setObjectName(QStringLiteral("Form_backup"));
}

QString TForm_backup::browse() {
    // Named as the day's safety copy is (xjrjz-2026-12-10.mdb): the day tells backups apart.
    const QString book = ui::Dm1->ADO_xjrjz.database().path();
    const QString name =
        QFileInfo(store::SafetyCopies(book).dailyCopy(QDate::currentDate())).fileName();
    const QString folder = QFileInfo(s_lastFolder).isDir() ? s_lastFolder : firstFolder();

    ui::SaveFileRequest request;
    request.title = QStringLiteral("备份数据库文件");
    request.defaultExtension = QStringLiteral("mdb");
    request.fileName = QDir(folder).filePath(name);
    const ui::SaveFileAnswer answer = ui::chooseSaveFile(this, request);
    if (!answer.accepted || answer.path.isEmpty())
        return QString();
    s_lastFolder = QFileInfo(answer.path).absolutePath();
    return answer.path;
}

bool TForm_backup::run(const QString& file) {
    try {
        const BusyCursor busy;
        store::backupDatabase(ui::Dm1->ADO_xjrjz.database(), file);
    } catch (const store::BackupError& e) {
        if (e.reason() == store::BackupError::Reason::SameFile)
            ui::warn(this, QStringLiteral("不能把数据库备份到它自己的文件上，请另选一个文件!"));
        else if (e.reason() == store::BackupError::Reason::Unconfirmed)
            ui::warn(this, QStringLiteral("备份可能已经完成，但没能确认已写入磁盘，请再备份一次！\n") +
                               e.message());
        else
            ui::warn(this, QStringLiteral("备份没有完成，原有的文件没有改变。\n") + e.message());
        return false;
    }
    ui::warn(this, QStringLiteral("备份完毕！"));
    return true;
}

} // namespace admin
