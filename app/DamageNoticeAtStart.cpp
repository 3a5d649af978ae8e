#include "DamageNoticeAtStart.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/EngineError.h"
#include "ui/MessageBoxes.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace app {

DamageNoticeAtStart::DamageNoticeAtStart(QWidget* window, store::Connection& connection)
    : m_window(window)
    , m_connection(connection)
    , m_book(QFileInfo(connection.database().path()).absoluteFilePath())
    , m_health(m_book, store::ConnectionString(connection.connectionString()).password()) {
    connect(&connection, &store::Connection::aboutToClose, this, &DamageNoticeAtStart::abandon);
    m_thread.reset(QThread::create([this] { m_report = m_health.check(); }));
    connect(m_thread.get(), &QThread::finished, this, &DamageNoticeAtStart::checked);
    // The login window is being built and painted meanwhile: it goes first,
    // the look takes what time the processors have left.
    m_thread->start(QThread::IdlePriority);
}

DamageNoticeAtStart::~DamageNoticeAtStart() {
    abandon();
}

void DamageNoticeAtStart::abandon() {
    m_abandoned = true;
    m_health.stop();
    m_thread->wait();
}

void DamageNoticeAtStart::loggedIn() {
    m_loggedIn = true;
    tellIfDue();
}

void DamageNoticeAtStart::checked() {
    if (m_abandoned)
        return;
    m_checked = true;
    moveCommittedIntoBook();
    tellIfDue();
}

void DamageNoticeAtStart::moveCommittedIntoBook() {
    // While the look read the book, what was committed meanwhile could not be
    // moved from the WAL into the book file, which alone is what a copy takes.
    // The next commit does it as well: a failure here is no loss.
    if (!m_connection.isConnected() || m_connection.database().inTransaction())
        return;
    try {
        m_connection.database().exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    } catch (const store::EngineError&) {
    }
}

void DamageNoticeAtStart::tellIfDue() {
    if (!m_checked || !m_loggedIn || m_told || m_abandoned)
        return;
    m_told = true;
    if (m_report.damaged())
        ui::warn(m_window, damageNoticeText(m_book, m_report));
}

QString damageNoticeText(const QString& book, const store::BookHealth::Report& report) {
    const QString damaged = QStringLiteral("数据库文件“%1”已经损坏，其中的数据可能不完整！\n")
                                .arg(QDir::toNativeSeparators(book));
    if (report.soundCopy.isEmpty())
        return damaged + QStringLiteral("没有找到完好的安全备份，请尽快把还能读出的数据导出，"
                                        "并与系统管理员联系！");
    return damaged + QStringLiteral("最新的完好的安全备份是%1做的：\n%2\n"
                                    "请用菜单【系统维护】中的“数据恢复”选择这个文件恢复数据库。")
                         .arg(store::DateTime::fromQDateTime(report.soundCopyWritten).toString(),
                              QDir::toNativeSeparators(report.soundCopy));
}

} // namespace app
