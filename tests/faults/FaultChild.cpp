// The work the fault tests kill part way: a program that repeats one piece of
// the windows' work on a database until it is killed.
//
//   fault_child statistics FILE          totals by summary over two date
//                                        ranges in turn, refilling 通用 each time
//   fault_child save FILE MARKER FIRST   new cash entries posted one by one, as
//                                        the entry editor posts them; after each
//                                        post MARKER holds the entry's number,
//                                        starting with FIRST
//   fault_child create FOLDER            new books FOLDER/book-1.mdb, book-2.mdb ...
//                                        made one after another, as `create` makes one
//   fault_child firststart FOLDER        data folders FOLDER/user-1, user-2 ... made
//                                        one after another, as the first start makes one

#include "FaultWork.h"

#include "app/DataFolder.h"
#include "stats/StatisticsFill.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"
#include "store/Query.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::unique_ptr<store::Connection> connect(const QString& path) {
    auto c = std::make_unique<store::Connection>();
    c->setConnectionString(store::ConnectionString::forFile(path));
    c->open();
    return c;
}

int statistics(const QString& path) {
    const auto c = connect(path);
    store::Query scratch(c.get());
    store::Query catalogue(c.get());
    store::Query sums(c.get());
    for (int round = 0;; ++round)
        stats::fillSummaryTotals(scratch, catalogue, sums, faults::statisticsCriteria(round % 2));
}

// One write() of a few bytes at the start of the file: a killed process has
// made it whole or not at all.
void writeMarker(int fd, int number) {
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%10d\n", number);
    if (::pwrite(fd, text, size_t(n), 0) != n) {
        std::perror("marker");
        std::exit(3);
    }
}

int save(const QString& path, const QString& marker, int first) {
    const auto c = connect(path);
    const int fd = ::open(QFile::encodeName(marker).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::perror("marker");
        return 3;
    }
    store::Query journal(c.get());
    journal.openWith(faults::savedMonthQuery());
    for (int number = first;; ++number) {
        faults::appendEntry(journal, number);
        journal.post();
        writeMarker(fd, number);
    }
}

int create(const QString& folder) {
    for (int n = 1;; ++n)
        store::createDatabaseFile(QDir(folder).filePath(QStringLiteral("book-%1.mdb").arg(n)),
                                  store::standardPassword());
}

// The folder itself holds no book, so each start makes a user folder of its own.
int firstStart(const QString& folder) {
    for (int n = 1;; ++n)
        app::prepareDataFolder(folder, QDir(folder).filePath(QStringLiteral("user-%1").arg(n)));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 2 && args[0] == QLatin1String("statistics"))
            return statistics(args[1]);
        if (args.size() == 4 && args[0] == QLatin1String("save"))
            return save(args[1], args[2], args[3].toInt());
        if (args.size() == 2 && args[0] == QLatin1String("create"))
            return create(args[1]);
        if (args.size() == 2 && args[0] == QLatin1String("firststart"))
            return firstStart(args[1]);
    } catch (const store::EngineError& e) {
        std::fprintf(stderr, "fault_child: %s\n", e.message().toUtf8().constData());
        return 1;
    }
    std::fputs("usage: fault_child statistics FILE | save FILE MARKER FIRST | create FOLDER | "
               "firststart FOLDER\n",
               stderr);
    return 2;
}
