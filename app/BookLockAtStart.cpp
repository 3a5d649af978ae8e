#include "BookLockAtStart.h"

#include "store/BookLock.h"
#include "store/SystemErrorText.h"
#include "ui/MessageBoxes.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace app {

std::unique_ptr<store::BookLock> lockBookForRun(const QString& database) {
    auto lock = std::make_unique<store::BookLock>(database);
    const QString file = QDir::toNativeSeparators(QFileInfo(database).absoluteFilePath());
    switch (lock->tryLock()) {
    case store::BookLock::Result::Taken:
        return lock;
    case store::BookLock::Result::HeldElsewhere:
        ui::warn(nullptr, QStringLiteral("数据库文件“%1”已经在另一个程序窗口中打开，"
                                         "请在那个窗口中继续工作！")
                              .arg(file));
        break;
    case store::BookLock::Result::LeftByAnotherUser: {
        // Only its owner (or an administrator) can remove it from a shared folder.
        const QString user = lock->holder().value_or(store::BookLock::Holder{}).user;
        ui::warn(nullptr, QStringLiteral("数据库文件“%1”的锁文件“%2”是用户 %3 的程序留下的，"
                                         "那个程序已经结束，请用户 %3 或系统管理员删除这个锁文件！")
                              .arg(file, QDir::toNativeSeparators(lock->lockFile()), user));
        break;
    }
    case store::BookLock::Result::Failed: {
        const int error = lock->failure();
        // Permissions are what the user can mend; a full or read-only disk is told as such.
        const QString advice = error == EACCES || error == EPERM
                                   ? QStringLiteral("，请检查数据文件夹的权限")
                                   : QString();
        ui::warn(nullptr, QStringLiteral("不能建立数据库文件“%1”的锁文件：%2%3！")
                              .arg(file, store::systemErrorText(error), advice));
        break;
    }
    }
    return nullptr;
}

} // namespace app
