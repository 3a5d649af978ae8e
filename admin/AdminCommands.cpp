#include "AdminCommands.h"

#include "TForm_backup.h"
#include "TForm_gsxx_edit.h"
#include "TForm_gzsj.h"
#include "TForm_initialize.h"
#include "TForm_restore.h"

#include "store/BookLocation.h"
#include "store/ConnectionString.h"
#include "store/EngineError.h"
#include "store/OtherDesks.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QDir>
#include <QString>

namespace admin {

void openCompanyInformation(QWidget* main, const std::function<void(const QString&)>& showBanner) {
    store::Query& q = ui::Dm1->q_gsxx;
    q.openWith({QStringLiteral("select * from 公司信息")});
    {
        TForm_gsxx_edit window(main);
        window.exec();
    }
    // The banner shows the text as the editor left it; the caption keeps its
    // title until the next start.
    const std::optional<store::Field> banner = q.findField(QStringLiteral("动态文字"));
    if (showBanner)
        showBanner(banner ? banner->asString() : QString());
    q.close();
}

void openClosingDate(QWidget* main) {
    store::Query& q = ui::Dm1->q_gzsj;
    q.openWith({QStringLiteral("select * from 关帐日期")});
    {
        TForm_gzsj window(main);
        window.exec();
    }
    q.close();
}

namespace {

/// On a server book: refuses, with a box saying why, while another desk is on
/// the book, whose work the step would overwrite under it.
bool refusedForOtherDesks(QWidget* main, const QString& step) {
    ui::TDm1& dm = *ui::Dm1;
    if (!dm.ADO_xjrjz.isConnected())
        return false;
    const int others = store::otherDesks(dm.ADO_xjrjz.database());
    if (others == 0)
        return false;
    ui::warn(main, store::otherDesksRefusal(others, step));
    return true;
}

} // namespace

void openInitialisation(QWidget* main) {
    if (refusedForOtherDesks(main, QStringLiteral("初始化数据")))
        return;
    TForm_initialize window(main);
    window.exec();
}

void openBackup(QWidget* main) {
    TForm_backup window(main);
    window.exec();
}

void openRestore(QWidget* main) {
    if (refusedForOtherDesks(main, QStringLiteral("恢复数据")))
        return;
    ui::TDm1& dm = *ui::Dm1;
    // The connection names its file relative to the data folder, the current
    // folder of the run.
    const QString dataFolder = QDir::currentPath();
    const store::ConnectionString properties(dm.ADO_xjrjz.connectionString());
    // A server book is named by its connection string, never a file of the folder.
    const QString working = store::isServerBook(properties.dataSource())
                                ? properties.dataSource()
                                : QDir(dataFolder).absoluteFilePath(properties.dataSource());
    dm.ADO_xjrjz.close();
    {
        TForm_restore window(main, working, properties.password());
        window.exec();
    }
    QDir::setCurrent(dataFolder);
    try {
        dm.ADO_xjrjz.open();
    } catch (const store::EngineError& e) {
        ui::showError(main, e.message());
    }
}

} // namespace admin
