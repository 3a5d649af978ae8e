#include "BenchDatabases.h"

#include "tools/DemoData.h"

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "store/Query.h"
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
    {
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(building));
        c.open();
        tools::DemoOptions options;
        options.entries = entries;
        options.years = 10;
        options.summaries = summaries;
        options.bankAccounts = 5;
        tools::addDemoData(c, options);
        c.database().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QFile::rename(building, path);
    return path;
}

std::unique_ptr<store::Connection> openDemo(int entries, int summaries) {
    auto c = std::make_unique<store::Connection>();
    c->setConnectionString(store::ConnectionString::forFile(demoDatabase(entries, summaries)));
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
