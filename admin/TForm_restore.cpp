#include "TForm_restore.h"

#include "store/BookLocation.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/SafetyCopies.h"
#include "ui/Choosers.h"
#include "ui/MessageBoxes.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace admin {

namespace {

// The first lines of a list of problems, enough to tell what is wrong.
QString firstLines(const QString& text, int count = 3) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > count)
        lines = lines.mid(0, count) << QStringLiteral("...");
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TForm_restore::TForm_restore(QWidget* owner, const QString& working, const QString& password)
    : DatabaseFileWindow(owner, QStringLiteral("系统恢复管理"), QStringLiteral("恢复"))
    , m_working(working)
    , m_password(password) {
    setObjectName(QStringLiteral("Form_restore"));
}

QString TForm_restore::browse() {
    // The program's own safety copies are the likeliest choice.
    const QString copies = store::SafetyCopies(m_working).folder();
    return ui::chooseOpenFile(
        this, QStringLiteral("恢复数据库文件"),
        QStringLiteral("数据库及备份文件|*.mdb;*.bak|所有文件|*.*"),
        QStringLiteral("mdb"), QFileInfo(copies).isDir() ? copies : QString());
}

bool TForm_restore::run(const QString& file) {
    if (!ui::ask(this, QStringLiteral("确实要恢复数据库吗? ")))
        return false;
    QString kept;
    try {
        const BusyCursor busy;
        if (store::isServerBook(m_working))
            kept = restoreIntoServer(file);
        else
            store::restoreDatabaseFile(file, m_working, m_password);
    } catch (const store::BackupError& e) {
        switch (e.reason()) {
        case store::BackupError::Reason::SameFile:
            ui::warn(this, QStringLiteral("所选文件就是正在使用的数据库文件，不能用它恢复!"));
            break;
        case store::BackupError::Reason::Unusable:
            ui::warn(this,
                     QStringLiteral("所选文件不是本系统的数据库文件，或者已经损坏，不能用它恢复！"
                                    "当前数据库没有改变。\n") +
                         firstLines(e.message()));
            break;
        case store::BackupError::Reason::Failed:
        case store::BackupError::Reason::Damaged:
            ui::warn(this, QStringLiteral("恢复没有完成，当前数据库没有改变。\n") + e.message());
            break;
        case store::BackupError::Reason::Unconfirmed:
            ui::warn(this, QStringLiteral("恢复可能已经完成，但没能确认已写入磁盘，原来的数据库已保存为%1！\n")
                               .arg(QFileInfo(store::keptPreviousFile(m_working)).fileName()) +
                               e.message());
            return true;
        }
        return false;
    }
    if (!kept.isEmpty()) {
        ui::warn(this, QStringLiteral("恢复完毕！原来的数据库已复制到%1。")
                           .arg(QDir::toNativeSeparators(kept)));
        return true;
    }
    ui::warn(this, QStringLiteral("恢复完毕！"));
    return true;
}

QString TForm_restore::restoreIntoServer(const QString& file) {
    std::unique_ptr<store::Database> server;
    try {
        server = store::openServerBook(m_working, m_password);
    } catch (const store::EngineError& e) {
        throw store::BackupError(store::BackupError::Reason::Failed, e.message());
    }
    // The server book goes to a dated file of the safety copies first.
    return store::restoreServerBook(file, *server, m_password, [&] {
        return store::SafetyCopies(m_working).makeRestoreCopy(*server,
                                                              QDateTime::currentDateTime());
    });
}

} // namespace admin
