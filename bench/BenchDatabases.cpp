#include "BenchDatabases.h"

#include "tools/DemoData.h"

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "store/Query.h"
#include "store/ServerConnection.h"
#include "store/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace bench {

QString dataFolder() {
    const QByteArray env = qgetenv("TALLOMER_BENCH_DATA");
    const QString folder = env.isEmpty() ? QStringLiteral("bench-data") : QString::fromLocal8Bit(env);
    QDir().mkpath(folder);
    return folder;
}

namespace {

// Ten years of entries, the summaries and five bank accounts, into a new book.
void addDemo(const QString& book, int entries, int summaries) {
    store::Connection c;
    c.setConnectionString(store::ConnectionString::forFile(book));
    c.open();
    tools::DemoOptions options;
    options.entries = entries;
    options.years = 10;
    options.summaries = summaries;
    options.bankAccounts = 5;
    tools::addDemoData(c, options);
    // The file whole without its side files; on a server, what its autovacuum would have done.
    c.database().exec(c.database().isServer() ? QStringLiteral("VACUUM ANALYZE")
                                              : QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

} // namespace

QString demoDatabase(int entries, int summaries) {
    const QString path =
        QStringLiteral("%1/demo-%2-%3s.mdb").arg(dataFolder()).arg(entries).arg(summaries);
    if (QFileInfo::exists(path))
        return path;
    // Made under another name and renamed, so that an interrupted run leaves nothing half made.
    const QString building = path + QStringLiteral(".building");
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(building + QLatin1String(suffix));
    store::createDatabaseFile(building, store::standardPassword());
    addDemo(building, entries, summaries);
    QFile::rename(building, path);
    return path;
}

QString serverForBenchmarks() { return qEnvironmentVariable("TALLOMER_BENCH_SERVER").trimmed(); }

namespace {

// A later keyword of a libpq key=value string overrides an earlier one.
QString onDatabase(const QString& server, const QString& name) {
    return server + QStringLiteral(" dbname=") + name;
}

bool serverHasDatabase(store::ServerConnection& admin, const QString& name) {
    store::Database db(std::make_unique<store::ServerConnection>(admin.connectionString()));
    store::Statement s(db, QStringLiteral("select 1 from pg_database where datname = ?"));
    s.bindText(1, name);
    return s.step();
}

// The demo book of this size on the server, made (from the same generator as
// the file's) when missing, under another name first so that an interrupted
// run leaves nothing half made.
QString serverDemo(const QString& server, int entries, int summaries) {
    const QString name = QStringLiteral("tallomer_demo_%1_%2s").arg(entries).arg(summaries);
    store::ServerConnection admin(server);
    if (serverHasDatabase(admin, name))
        return onDatabase(server, name);
    const QString building = name + QStringLiteral("_building");
    admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(building));
    admin.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' "
                              "LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8'")
                   .arg(building));
    store::createServerBook(onDatabase(server, building), store::standardPassword());
    addDemo(onDatabase(server, building), entries, summaries);
    admin.exec(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(building, name));
    return onDatabase(server, name);
}

} // namespace

QString demoBook(int entries, int summaries) {
    const QString server = serverForBenchmarks();
    return server.isEmpty() ? demoDatabase(entries, summaries)
                            : serverDemo(server, entries, summaries);
}

std::unique_ptr<store::Connection> openDemo(int entries, int summaries) {
    auto c = std::make_unique<store::Connection>();
    c->setConnectionString(store::ConnectionString::forFile(demoBook(entries, summaries)));
    c->open();
    return c;
}

store::DateTime closingDate(store::Connection& connection) {
    store::Query q(&connection);
    q.openWith({QStringLiteral("select * from 关帐日期")});
    return q.fieldByName(QStringLiteral("关帐日期")).asDateTime();
}

QDate fullestCashMonth(store::Connection& connection) {
    store::Statement months(connection.database(),
                            QStringLiteral("select 日期 from 现金日记帐"));
    std::map<int, int> counts;
    while (months.step()) {
        const QDate d = store::DateTime::fromSerial(months.real(0)).date();
        ++counts[d.year() * 12 + d.month() - 1];
    }
    int best = 0;
    int bestCount = -1;
    for (const auto& [month, count] : counts) {
        if (count > bestCount) {
            best = month;
            bestCount = count;
        }
    }
    return QDate(best / 12, best % 12 + 1, 1);
}

QString firstBankAccount(store::Connection& connection) {
    store::Statement s(connection.database(), QStringLiteral("select 项目 from 开户银行 limit 1"));
    return s.step() ? s.text(0) : QString();
}

} // namespace bench
