// tallomer-db: the command-line companion of the desktop program.

#include "DemoData.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DatabaseBackup.h"
#include "store/DatabaseCheck.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

namespace {

void out(const QString& text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void err(const QString& text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr); }

const char* const kUsage =
    "usage: tallomer-db COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  create FILE                 write a new database with the shipped first rows\n"
    "  demo FILE [options]         add reproducible journal entries to a database\n"
    "      --entries N             entries in both journals together (default 2000)\n"
    "      --years N               years of months, ending with the closing month (default 3)\n"
    "      --summaries N           grow the summary catalogue to N entries\n"
    "      --banks N               bank accounts to spread bank entries over (default 3)\n"
    "      --seed S                random seed (default 1)\n"
    "  check FILE                  verify password, tables, columns and integrity\n"
    "  backup FILE TARGET          write a complete copy of the database to TARGET\n"
    "  restore FILE SOURCE         replace the database with a verified copy of SOURCE,\n"
    "                              keeping the replaced file as FILE.bak\n"
    "  COMMAND --help              this text\n";

struct Arguments {
    QStringList positional;
    std::map<QString, QString> options;
};

// Reads "--name value" pairs; false (with a message) for a malformed list.
bool parseArguments(const QStringList& args, const QStringList& known, Arguments& parsed) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            parsed.positional << a;
            continue;
        }
        const QString name = a.mid(2);
        if (!known.contains(name)) {
            err(QStringLiteral("tallomer-db: unknown option %1").arg(a));
            return false;
        }
        if (i + 1 >= args.size()) {
            err(QStringLiteral("tallomer-db: %1 needs a value").arg(a));
            return false;
        }
        parsed.options[name] = args[++i];
    }
    return true;
}

bool readNumber(const Arguments& a, const QString& name, int min, int& value) {
    const auto it = a.options.find(name);
    if (it == a.options.end())
        return true;
    bool ok = false;
    const int n = it->second.toInt(&ok);
    if (!ok || n < min) {
        err(QStringLiteral("tallomer-db: --%1 takes a whole number of at least %2").arg(name).arg(min));
        return false;
    }
    value = n;
    return true;
}

int needOneFile(const Arguments& a, const char* command) {
    if (a.positional.size() != 1) {
        err(QStringLiteral("tallomer-db %1: name one database file").arg(QLatin1String(command)));
        return 2;
    }
    return 0;
}

int create(const Arguments& a) {
    if (int rc = needOneFile(a, "create"))
        return rc;
    store::createDatabaseFile(a.positional[0], store::standardPassword());
    out(QStringLiteral("created %1").arg(a.positional[0]));
    return 0;
}

int demo(const Arguments& a) {
    if (int rc = needOneFile(a, "demo"))
        return rc;
    tools::DemoOptions options;
    int seed = int(options.seed);
    if (!readNumber(a, QStringLiteral("entries"), 0, options.entries) ||
        !readNumber(a, QStringLiteral("years"), 1, options.years) ||
        !readNumber(a, QStringLiteral("summaries"), 0, options.summaries) ||
        !readNumber(a, QStringLiteral("banks"), 1, options.bankAccounts) ||
        !readNumber(a, QStringLiteral("seed"), 0, seed))
        return 2;
    options.seed = std::uint32_t(seed);
    store::Connection connection;
    connection.setConnectionString(store::ConnectionString::forFile(a.positional[0]));
    connection.open();
    tools::addDemoData(connection, options);
    out(QStringLiteral("added %1 entries to %2").arg(options.entries).arg(a.positional[0]));
    return 0;
}

int check(const Arguments& a) {
    if (int rc = needOneFile(a, "check"))
        return rc;
    const QStringList problems = store::checkDatabaseFile(a.positional[0], store::standardPassword());
    if (problems.isEmpty()) {
        out(QStringLiteral("%1: ok").arg(a.positional[0]));
        return 0;
    }
    for (const QString& p : problems)
        err(QStringLiteral("%1: %2").arg(a.positional[0], p));
    return 1;
}

int needTwoFiles(const Arguments& a, const char* command, const char* second) {
    if (a.positional.size() != 2) {
        err(QStringLiteral("tallomer-db %1: name the database file and the %2 file")
                .arg(QLatin1String(command), QLatin1String(second)));
        return 2;
    }
    return 0;
}

int backup(const Arguments& a) {
    if (int rc = needTwoFiles(a, "backup", "target"))
        return rc;
    store::backupDatabaseFile(a.positional[0], store::standardPassword(), a.positional[1]);
    out(QStringLiteral("backed up %1 to %2").arg(a.positional[0], a.positional[1]));
    return 0;
}

int restore(const Arguments& a) {
    if (int rc = needTwoFiles(a, "restore", "source"))
        return rc;
    const bool replacing = QFileInfo::exists(a.positional[0]);
    store::restoreDatabaseFile(a.positional[1], a.positional[0], store::standardPassword());
    out(QStringLiteral("restored %1 from %2").arg(a.positional[0], a.positional[1]));
    if (replacing)
        out(QStringLiteral("the replaced file is kept as %1").arg(store::keptPreviousFile(a.positional[0])));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.contains(QLatin1String("--help")) || args[0] == QLatin1String("help")) {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    struct Command {
        QStringList options;
        std::function<int(const Arguments&)> run;
    };
    const std::map<QString, Command> commands = {
        {QStringLiteral("create"), {{}, create}},
        {QStringLiteral("demo"),
         {{QStringLiteral("entries"), QStringLiteral("years"), QStringLiteral("summaries"),
           QStringLiteral("banks"), QStringLiteral("seed")},
          demo}},
        {QStringLiteral("check"), {{}, check}},
        {QStringLiteral("backup"), {{}, backup}},
        {QStringLiteral("restore"), {{}, restore}},
    };
    const auto it = commands.find(command);
    if (it == commands.end()) {
        err(QStringLiteral("tallomer-db: unknown command '%1'").arg(command));
        std::fputs(kUsage, stderr);
        return 2;
    }
    Arguments parsed;
    if (!parseArguments(args, it->second.options, parsed))
        return 2;
    try {
        return it->second.run(parsed);
    } catch (const store::EngineError& e) {
        err(QStringLiteral("tallomer-db %1: %2").arg(command, e.message()));
        return 1;
    }
}
