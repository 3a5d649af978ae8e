#include "Connection.h"

#include "AddedTables.h"
#include "BookLocation.h"
#include "ConnectionString.h"
#include "Database.h"
#include "EngineError.h"
#include "EngineTable.h"
#include "Schema.h"
#include "ServerConnection.h"
#include "SystemErrorText.h"
#include "TextIndexOrder.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>

#include <unistd.h>

namespace store {

namespace {

constexpr int kBusyTimeoutMs = 5000;

std::unique_ptr<Database> openVerified(const QString& path, const QString& password,
                                       Database::OpenMode mode) {
    auto db = std::make_unique<Database>(path, mode);
    sqlite3_busy_timeout(db->handle(), kBusyTimeoutMs);
    EngineTable::verify(*db, password);
    keepTextIndexOrder(*db);
    return db;
}

bool writable(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// A WAL or WAL index left read-only beside a writable book (by a reader of an
// earlier build, or copied so) lets the book be read but never written.
void refuseReadOnlySideFiles(const QString& path) {
    if (!writable(path))
        return;
    for (const char* suffix : {"-shm", "-wal"}) {
        const QString side = path + QLatin1String(suffix);
        if (QFileInfo::exists(side) && !writable(side))
            throw EngineError(
                QStringLiteral("数据库的附属文件 %1 是只读的，数据库不能写入，请允许写入这个文件！")
                    .arg(side),
                errno);
    }
}

// Reading a WAL takes its index beside it. Where the index is missing and the
// folder may not be written, SQLite could only say that it cannot open the book.
void refuseUnreadableWal(const QString& path) {
    const QString wal = path + QLatin1String("-wal");
    const QString index = path + QLatin1String("-shm");
    if (QFileInfo(wal).size() == 0 || QFileInfo::exists(index) ||
        writable(QFileInfo(path).absolutePath()))
        return;
    const int error = errno;
    throw EngineError(QStringLiteral("不能打开数据库文件“%1”：要读取旁边的 %2，须建立 %3，"
                                     "但文件夹不能写入：%4")
                          .arg(path, wal, index, systemErrorText(error)),
                      error);
}

} // namespace

std::unique_ptr<Database> openDatabaseFile(const QString& path, const QString& password) {
    refuseReadOnlySideFiles(path);
    auto db = openVerified(path, password, Database::OpenMode::ExistingOnly);
    db->exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    // A posted entry must survive a power cut, not only a crash.
    db->exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Every write transaction is checkpointed as it commits, so that the file
    // alone is the whole book (what a copy of it takes): nothing committed
    // waits in the WAL. Measured against a rollback journal, this costs less
    // per saved entry and per recomputation.
    db->exec(QStringLiteral("PRAGMA wal_autocheckpoint=1"));
    try {
        ensureAddedTables(*db);
    } catch (const EngineError&) {
        // Busy or out of space: the book works as before; what needs the
        // added tables makes them again and tells why when it cannot.
    }
    return db;
}

std::unique_ptr<Database> openDatabaseFileToRead(const QString& path, const QString& password) {
    // Reading a file in WAL mode takes a WAL and its index beside it, which a
    // read-only connection leaves behind. With no journal file beside the book
    // everything is in the file: a connection allowed to write makes them and
    // removes them as it closes, and query_only keeps it from writing.
    const bool journalBeside = QFileInfo::exists(path + QLatin1String("-wal")) ||
                               QFileInfo::exists(path + QLatin1String("-journal"));
    // A book this user may not write, or in a folder where its WAL cannot be
    // made, is read as an unchanging file: with no journal beside it no
    // connection is writing it, and reading it leaves nothing behind (a WAL
    // index left read-only would keep the book from being written later).
    if (!journalBeside && (!writable(path) || !writable(QFileInfo(path).absolutePath())))
        return openVerified(path, password, Database::OpenMode::Unchanging);
    if (journalBeside) {
        refuseUnreadableWal(path);
        return openVerified(path, password, Database::OpenMode::ReadOnly);
    }
    auto db = openVerified(path, password, Database::OpenMode::ExistingOnly);
    db->exec(QStringLiteral("PRAGMA query_only=1"));
    return db;
}

std::unique_ptr<Database> openServerBook(const QString& connectionString,
                                         const QString& password, bool toRead) {
    auto db = std::make_unique<Database>(std::make_unique<ServerConnection>(connectionString));
    EngineTable::verify(*db, password);
    if (!toRead) {
        try {
            ensureAddedTables(*db);
        } catch (const EngineError&) {
            // A desk without the right to make tables works as before.
        }
    }
    // Each desk's statistics and chart fill tables of their own, which hide
    // the book's shared ones from this connection.
    for (const QString& scratch : {table::scratch, table::chart}) {
        const auto found = std::find_if(schemaTables().begin(), schemaTables().end(),
                                        [&](const TableDef& t) { return t.name == scratch; });
        TableDef own = *found;
        own.name = QStringLiteral("temp.") + scratch;
        createTable(*db, own);
    }
    if (toRead)
        db->exec(QStringLiteral("SET default_transaction_read_only = on"));
    return db;
}

Connection::Connection(QObject* parent) : QObject(parent) {}

Connection::~Connection() = default;

void Connection::open() { open(false); }

void Connection::openToRead() { open(true); }

void Connection::open(bool toRead) {
    if (m_db)
        return;
    const ConnectionString properties(m_connectionString);
    if (properties.dataSource().isEmpty())
        throw EngineError(QStringLiteral("连接字符串中没有指定数据源"));
    if (isServerBook(properties.dataSource()))
        m_db = openServerBook(properties.dataSource(), properties.password(), toRead);
    else
        m_db = toRead ? openDatabaseFileToRead(properties.dataSource(), properties.password())
                      : openDatabaseFile(properties.dataSource(), properties.password());
}

void Connection::close() {
    if (!m_db)
        return;
    emit aboutToClose();
    m_db.reset();
}

Database& Connection::database() const {
    if (!m_db)
        throw EngineError(QStringLiteral("连接已经关闭，不能进行这个操作"));
    return *m_db;
}

} // namespace store
