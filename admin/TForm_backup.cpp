#include "TForm_backup.h"

#include "store/DatabaseBackup.h"
#include "ui/Choosers.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

namespace admin {

TForm_backup::TForm_backup(QWidget* owner)
    : DatabaseFileWindow(owner, QStringLiteral("系统备份管理"), QStringLiteral("备份")) {
    setObjectName(QStringLiteral("Form_backup"));
}

QString TForm_backup::browse() {
    ui::SaveFileRequest request;
    request.title = QStringLiteral("备份数据库文件");
    request.defaultExtension = QStringLiteral("mdb");
    const ui::SaveFileAnswer answer = ui::chooseSaveFile(this, request);
    return answer.accepted ? answer.path : QString();
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
