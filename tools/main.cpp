// tallomer-db: the command-line companion of the desktop program.

#include "DemoData.h"
#include "ImportCommand.h"
#include "JournalSearchCommand.h"
#include "ListExport.h"
#include "ListPrint.h"
#include "StatsReport.h"

#include "journal/BalanceRecomputation.h"
#include "store/BookLock.h"
#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/DatabaseCheck.h"
#include "store/EngineError.h"
#include "store/JournalTimeOfDay.h"
#include "store/NewDatabase.h"
#include "store/Query.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

namespace {

void out(const QString& text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void err(const QString& text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr); }

const char* const kOverview =
    "usage: tallomer-db COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  create FILE           write a new database with the shipped first rows\n"
    "  demo FILE             add reproducible journal entries to a database\n"
    "  check FILE            verify password, tables, columns and integrity\n"
    "  backup FILE TARGET    write a complete copy of the database to TARGET\n"
    "  restore FILE SOURCE   replace the database with a verified copy of SOURCE\n"
    "  recompute FILE        recompute the running balances of one month\n"
    "  export FILE           write a list as its window exports it\n"
    "  print FILE            write a list's printout to a PDF file\n"
    "  stats FILE STATISTIC  fill the statistics table and print its rows\n"
    "  import FILE           把导出的日记帐或电子表格的行导入一个日记帐\n"
    "  search FILE           按查询窗口的条件查找所有月份的日记帐记录\n"
    "\n"
    "tallomer-db COMMAND --help tells more about a command.\n"
    "\n"
    "exit status: 0 done, 1 failed, 2 wrong arguments, 3 the database is open in\n"
    "another program (create, demo, restore, recompute and stats write into it\n"
    "and hold its lock file FILE.LCK while they work, as the program does while\n"
    "it runs; check, export, print and backup only read and work all the same).\n";

// The exit status of a writing command whose database another program holds.
constexpr int kDatabaseInUse = 3;

struct Arguments {
    QStringList positional;
    std::map<QString, QString> options; // a flag has an empty value
    std::map<QString, std::pair<QString, QString>> ranges;

    QString option(const char* name) const {
        const auto it = options.find(QLatin1String(name));
        return it == options.end() ? QString() : it->second;
    }
    bool has(const char* name) const { return options.count(QLatin1String(name)) > 0; }
};

// Reads "--name value" pairs, "--flag"s and "--range low high"; false (with
// a message) for a malformed list.
bool parseArguments(const QStringList& args, const QStringList& known, Arguments& parsed,
                    const QStringList& flags = {}, const QStringList& ranges = {}) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            parsed.positional << a;
            continue;
        }
        const QString name = a.mid(2);
        if (flags.contains(name)) {
            parsed.options[name] = QString();
            continue;
        }
        if (ranges.contains(name)) {
            if (i + 2 >= args.size()) {
                err(QStringLiteral("tallomer-db: %1 后面要有下限和上限两个值").arg(a));
                return false;
            }
            parsed.ranges[name] = {args[i + 1], args[i + 2]};
            i += 2;
            continue;
        }
        if (!known.contains(name)) {
            err(QStringLiteral("tallomer-db: 没有选项 %1").arg(a));
            return false;
        }
        if (i + 1 >= args.size()) {
            err(QStringLiteral("tallomer-db: 选项 %1 后面要有一个值").arg(a));
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
        err(QStringLiteral("tallomer-db: --%1 要写一个不小于 %2 的整数").arg(name).arg(min));
        return false;
    }
    value = n;
    return true;
}

int needOneFile(const Arguments& a, const char* command) {
    if (a.positional.size() != 1) {
        err(QStringLiteral("tallomer-db %1: 请指定一个数据库文件").arg(QLatin1String(command)));
        return 2;
    }
    return 0;
}

// The connection the program itself would open on the file, with its fixed
// password; `toRead` for a command that only reads, which leaves the file as it is.
std::unique_ptr<store::Connection> connect(const QString& path, bool toRead = false) {
    auto connection = std::make_unique<store::Connection>();
    connection->setConnectionString(store::ConnectionString::forFile(path));
    if (toRead)
        connection->openToRead();
    else
        connection->open();
    return connection;
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
    const auto connection = connect(a.positional[0]);
    tools::addDemoData(*connection, options);
    out(QStringLiteral("added %1 entries to %2").arg(options.entries).arg(a.positional[0]));
    return 0;
}

// Entries an older build stored with a typed time: sound, but missing from their month.
void warnOfTimesOfDay(const QString& path) {
    const auto db = store::openDatabaseFileToRead(path, store::standardPassword());
    for (const store::TimedJournalRow& row : store::journalRowsWithTimeOfDay(*db)) {
        const QString when = row.date.toShortDateString() + QLatin1Char(' ') +
                             row.date.time().toString(QStringLiteral("H:mm:ss"));
        err(QStringLiteral("%1: 警告：%2 编号 %3 的日期 %4 带有时刻，该记录不在其月份的列表中！")
                .arg(path, store::journalTable(row.kind))
                .arg(row.id)
                .arg(when));
    }
}

int check(const Arguments& a) {
    if (int rc = needOneFile(a, "check"))
        return rc;
    const QStringList problems = store::checkDatabaseFile(a.positional[0], store::standardPassword());
    if (problems.isEmpty()) {
        out(QStringLiteral("%1: ok").arg(a.positional[0]));
        warnOfTimesOfDay(a.positional[0]);
        return 0;
    }
    for (const QString& p : problems)
        err(QStringLiteral("%1: %2").arg(a.positional[0], p));
    return 1;
}

int needTwoFiles(const Arguments& a, const char* command, const char* second) {
    if (a.positional.size() != 2) {
        err(QStringLiteral("tallomer-db %1: 请指定数据库文件和%2文件")
                .arg(QLatin1String(command), QString::fromUtf8(second)));
        return 2;
    }
    return 0;
}

int backup(const Arguments& a) {
    if (int rc = needTwoFiles(a, "backup", "目标"))
        return rc;
    store::backupDatabaseFile(a.positional[0], store::standardPassword(), a.positional[1]);
    out(QStringLiteral("backed up %1 to %2").arg(a.positional[0], a.positional[1]));
    return 0;
}

int restore(const Arguments& a) {
    if (int rc = needTwoFiles(a, "restore", "来源"))
        return rc;
    const bool replacing = QFileInfo::exists(a.positional[0]);
    store::restoreDatabaseFile(a.positional[1], a.positional[0], store::standardPassword());
    out(QStringLiteral("restored %1 from %2").arg(a.positional[0], a.positional[1]));
    if (replacing)
        out(QStringLiteral("the replaced file is kept as %1").arg(store::keptPreviousFile(a.positional[0])));
    return 0;
}

// The month of --month, or the closing month when it is not given; false
// (with a message) for text that names no month.
bool readMonth(const Arguments& a, const char* command, store::Connection& connection,
               QDate& month) {
    if (!a.has("month")) {
        month = tools::closingMonth(connection);
        return true;
    }
    const std::optional<QDate> named = tools::monthNamed(a.option("month"));
    if (!named) {
        err(QStringLiteral("tallomer-db %1: --month 要写成 YYYY-MM 形式的月份，不能是“%2”")
                .arg(QLatin1String(command), a.option("month")));
        return false;
    }
    month = *named;
    return true;
}

// The account of --bank, which must be one of the catalogue's.
bool readBank(const Arguments& a, const char* command, store::Connection& connection,
              QString& bank) {
    if (!a.has("bank")) {
        err(QStringLiteral("tallomer-db %1: 请用 --bank 指定开户银行").arg(QLatin1String(command)));
        return false;
    }
    bank = a.option("bank");
    if (!tools::hasBankAccount(connection, bank)) {
        err(QStringLiteral("tallomer-db %1: 没有开户银行“%2”").arg(QLatin1String(command), bank));
        return false;
    }
    return true;
}

int recompute(const Arguments& a) {
    if (int rc = needOneFile(a, "recompute"))
        return rc;
    const QString kindName = a.option("kind");
    if (kindName != QLatin1String("cash") && kindName != QLatin1String("bank")) {
        err(QStringLiteral("tallomer-db recompute: --kind 只能是 cash 或 bank"));
        return 2;
    }
    const journal::JournalKind kind =
        kindName == QLatin1String("cash") ? journal::JournalKind::Cash : journal::JournalKind::Bank;
    if (kind == journal::JournalKind::Cash && a.has("bank")) {
        err(QStringLiteral("tallomer-db recompute: --bank 只用于银行日记帐"));
        return 2;
    }
    const auto connection = connect(a.positional[0]);
    QDate month;
    QString bank;
    if (!readMonth(a, "recompute", *connection, month) ||
        (kind == journal::JournalKind::Bank && !readBank(a, "recompute", *connection, bank)))
        return 2;
    const store::BookkeepingPeriod period(store::DateTime::fromDate(month));
    store::Query query(connection.get());
    journal::BalanceRecomputation::run(query, kind, period, bank);
    out(QStringLiteral("recomputed %1 entries of %2 %3")
            .arg(query.recordCount())
            .arg(store::journalTable(kind), month.toString(QStringLiteral("yyyy-MM"))) +
        (bank.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(bank)));
    return 0;
}

int statistics(const Arguments& a) {
    if (a.positional.size() != 2) {
        err(QStringLiteral("tallomer-db stats: 请指定数据库文件和统计方式 summary、month 或 voucher"));
        return 2;
    }
    tools::StatsRequest request;
    request.statistic = a.positional[1];
    if (request.statistic != QLatin1String("summary") && request.statistic != QLatin1String("month") &&
        request.statistic != QLatin1String("voucher")) {
        err(QStringLiteral("tallomer-db stats: 没有统计方式“%1”").arg(request.statistic));
        return 2;
    }
    const QString kindName = a.has("kind") ? a.option("kind") : QStringLiteral("cash");
    if (kindName != QLatin1String("cash") && kindName != QLatin1String("bank")) {
        err(QStringLiteral("tallomer-db stats: --kind 只能是 cash 或 bank"));
        return 2;
    }
    request.kind = kindName == QLatin1String("cash") ? store::JournalKind::Cash : store::JournalKind::Bank;
    request.from = a.option("from");
    request.to = a.option("to");
    request.year = a.option("year");
    request.voucher = a.option("voucher");
    request.bank = a.option("bank");
    const auto connection = connect(a.positional[0]);
    QString problem;
    const QStringList rows = tools::runStatistic(*connection, request, &problem);
    if (!problem.isEmpty()) {
        err(QStringLiteral("tallomer-db stats: ") + problem);
        return 2;
    }
    for (const QString& row : rows)
        out(row);
    return 0;
}

// The rows of a list named by --month and --bank, which belong to the month
// lists (--bank to bank-month only); false (with a message) otherwise.
bool readListRows(const Arguments& a, const char* command, store::Connection& connection,
                  tools::ExportList list, QDate& month, QString& bank) {
    const bool journalList = list == tools::ExportList::CashMonth || list == tools::ExportList::BankMonth;
    if (journalList && !readMonth(a, command, connection, month))
        return false;
    return list != tools::ExportList::BankMonth || readBank(a, command, connection, bank);
}

bool monthAndBankFit(const Arguments& a, const char* command, tools::ExportList list) {
    const bool journalList = list == tools::ExportList::CashMonth || list == tools::ExportList::BankMonth;
    if ((!journalList && a.has("month")) || (list != tools::ExportList::BankMonth && a.has("bank"))) {
        err(QStringLiteral("tallomer-db %1: --month 和 --bank 只用于月份的列表"
                           "（--bank 只用于 bank-month）").arg(QLatin1String(command)));
        return false;
    }
    return true;
}

int exportList(const Arguments& a) {
    if (int rc = needOneFile(a, "export"))
        return rc;
    tools::ExportRequest request;
    const std::optional<tools::ExportList> list = tools::exportListNamed(a.option("list"));
    if (!list) {
        err(QStringLiteral("tallomer-db export: --list 只能是 cash-month、bank-month、summaries、"
                           "banks 或 operators，不能是“%1”").arg(a.option("list")));
        return 2;
    }
    const std::optional<int> type = tools::exportTypeNamed(a.option("format"));
    if (!type) {
        err(QStringLiteral("tallomer-db export: --format 只能是 txt、csv、htm、rtf 或 xls，不能是“%1”")
                .arg(a.option("format")));
        return 2;
    }
    if (a.option("out").isEmpty()) {
        err(QStringLiteral("tallomer-db export: 请用 --out 指定要写的文件"));
        return 2;
    }
    if (!monthAndBankFit(a, "export", *list))
        return 2;
    request.list = *list;
    request.type = *type;
    request.path = a.option("out");
    const auto connection = connect(a.positional[0], true);
    if (!readListRows(a, "export", *connection, *list, request.month, request.bankAccount))
        return 2;
    const int records = tools::exportList(*connection, request);
    out(QStringLiteral("wrote %1 records to %2").arg(records).arg(request.path));
    return 0;
}

int printList(const Arguments& a) {
    if (int rc = needOneFile(a, "print"))
        return rc;
    const std::optional<tools::ExportList> list = tools::exportListNamed(a.option("list"));
    if (list && !tools::listPrints(*list)) {
        err(QStringLiteral("tallomer-db print: 摘要和开户银行的列表在程序中没有打印，请用 export 导出！"));
        return 2;
    }
    if (!list) {
        err(QStringLiteral("tallomer-db print: --list 只能是 cash-month、bank-month 或 operators，"
                           "不能是 '%1'！").arg(a.option("list")));
        return 2;
    }
    const QString path = a.option("out");
    if (path.isEmpty() || !path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        err(QStringLiteral("tallomer-db print: 请用 --out 指定要写的 PDF 文件，文件名以 .pdf 结尾！"));
        return 2;
    }
    if (!monthAndBankFit(a, "print", *list))
        return 2;
    tools::PrintRequest request;
    request.list = *list;
    request.path = path;
    request.operatorName = a.has("operator") ? a.option("operator") : QStringLiteral("系统管理员");
    const auto connection = connect(a.positional[0], true);
    if (!readListRows(a, "print", *connection, *list, request.month, request.bankAccount))
        return 2;
    if (!tools::hasOperator(*connection, request.operatorName)) {
        err(QStringLiteral("tallomer-db print: 操作员表中没有 '%1'，请用 --operator 指定打印的操作员！")
                .arg(request.operatorName));
        return 2;
    }
    const tools::PrintResult printed = tools::printList(*connection, request);
    if (printed.pages == 0) {
        err(QStringLiteral("tallomer-db print: 列表中没有记录，没有写出 %1！").arg(path));
        return 1;
    }
    out(QStringLiteral("已把 %1 条记录打印到 %2，共 %3 页。").arg(printed.records).arg(path).arg(printed.pages));
    return 0;
}

// The journal an --kind names; false (with a message) for anything but cash or bank,
// and for --bank with the cash journal.
bool readKind(const Arguments& a, const char* command, store::JournalKind& kind) {
    const QString name = a.option("kind");
    if (name != QLatin1String("cash") && name != QLatin1String("bank")) {
        err(QStringLiteral("tallomer-db %1: --kind 只能是 cash 或 bank").arg(QLatin1String(command)));
        return false;
    }
    kind = name == QLatin1String("cash") ? store::JournalKind::Cash : store::JournalKind::Bank;
    if (kind == store::JournalKind::Cash && a.has("bank")) {
        err(QStringLiteral("tallomer-db %1: --bank 只用于银行日记帐").arg(QLatin1String(command)));
        return false;
    }
    return true;
}

int importJournal(const Arguments& a) {
    if (int rc = needOneFile(a, "import"))
        return rc;
    tools::ImportRequest request;
    if (!readKind(a, "import", request.kind))
        return 2;
    if (a.option("from").isEmpty()) {
        err(QStringLiteral("tallomer-db import: 请用 --from 指定要导入的文件"));
        return 2;
    }
    request.book = a.positional[0];
    request.file = a.option("from");
    request.bankAccount = a.option("bank");
    if (a.has("operator"))
        request.operatorName = a.option("operator");
    request.addSummaries = a.has("add-summaries");
    request.dryRun = a.has("dry-run");
    return tools::runImport(request, out, err);
}

int searchJournal(const Arguments& a) {
    if (int rc = needOneFile(a, "search"))
        return rc;
    tools::SearchRequest request;
    if (!readKind(a, "search", request.kind))
        return 2;
    request.book = a.positional[0];
    journal::SearchFields& f = request.fields;
    f.bankAccount = a.option("bank");
    f.voucher = a.option("voucher");
    f.summary = a.option("summary");
    f.detail = a.option("detail");
    f.handler = a.option("handler");
    f.invoiceParty = a.option("invoice");
    f.note = a.option("note");
    f.dateFrom = a.option("from");
    f.dateTo = a.option("to");
    if (const auto debit = a.ranges.find(QStringLiteral("debit")); debit != a.ranges.end())
        std::tie(f.debitLower, f.debitUpper) = debit->second;
    if (const auto credit = a.ranges.find(QStringLiteral("credit")); credit != a.ranges.end())
        std::tie(f.creditLower, f.creditUpper) = credit->second;
    return tools::runSearch(request, out, err);
}

struct Command {
    QStringList options;
    std::function<int(const Arguments&)> run;
    const char* help;
    /// Writes into the database FILE, and so must hold its lock.
    bool writes = false;
    QStringList flags = {};  // options without a value
    QStringList ranges = {}; // options with two values, a lower and an upper bound
};

// Takes the lock of the database a writing command works on, as the program
// takes it for its run; 0 when taken, else the exit status (with a message).
int lockDatabase(const QString& command, const QString& file, store::BookLock& lock) {
    switch (lock.tryLock()) {
    case store::BookLock::Result::Taken:
        return 0;
    case store::BookLock::Result::HeldElsewhere: {
        QString who;
        if (const std::optional<store::BookLock::Holder> holder = lock.holder())
            who = QStringLiteral("（进程 %1，主机 %2）").arg(holder->pid).arg(holder->host);
        err(QStringLiteral("tallomer-db %1: 数据库文件 %2 正在被另一个程序使用%3，"
                           "请先关闭那个程序！")
                .arg(command, file, who));
        return kDatabaseInUse;
    }
    case store::BookLock::Result::Failed:
        break;
    }
    err(QStringLiteral("tallomer-db %1: 不能建立锁文件 %2！").arg(command, lock.lockFile()));
    return 1;
}

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table = {
        {QStringLiteral("create"),
         {{},
          create,
          "usage: tallomer-db create FILE\n"
          "\n"
          "Writes a new database with the nine tables and the rows an installation ships:\n"
          "one operator with an empty password, the company row, the closing date, common\n"
          "summaries and one bank account. FILE must not exist. The file is readable by\n"
          "its owner only.\n",
          true}},
        {QStringLiteral("demo"),
         {{QStringLiteral("entries"), QStringLiteral("years"), QStringLiteral("summaries"),
           QStringLiteral("banks"), QStringLiteral("seed")},
          demo,
          "usage: tallomer-db demo FILE [options]\n"
          "\n"
          "Adds reproducible journal entries to a database and computes every month's\n"
          "running balances.\n"
          "\n"
          "  --entries N     entries in both journals together (default 2000)\n"
          "  --years N       years of months, ending with the closing month (default 3)\n"
          "  --summaries N   grow the summary catalogue to N entries\n"
          "  --banks N       bank accounts to spread bank entries over (default 3)\n"
          "  --seed S        random seed (default 1)\n",
          true}},
        {QStringLiteral("check"),
         {{},
          check,
          "usage: tallomer-db check FILE\n"
          "\n"
          "Verifies that FILE opens with the program's password, holds the nine tables\n"
          "with their columns and passes SQLite's integrity check. Exits with 1 and names\n"
          "each problem otherwise. A sound file's journal entries whose date carries a time\n"
          "of day (written by an older build; their month's list misses them) are named\n"
          "in a warning line each, on standard error; they do not change the exit code.\n"}},
        {QStringLiteral("backup"),
         {{},
          backup,
          "usage: tallomer-db backup FILE TARGET\n"
          "\n"
          "Writes a complete copy of the database FILE to TARGET, readable by its owner\n"
          "only. An existing TARGET is replaced only by a complete copy.\n"}},
        {QStringLiteral("restore"),
         {{},
          restore,
          "usage: tallomer-db restore FILE SOURCE\n"
          "\n"
          "Replaces the database FILE with a verified copy of SOURCE, keeping the replaced\n"
          "file as FILE.bak. SOURCE is only read. Refused, with exit status 3, while the\n"
          "program or another tallomer-db command has FILE open.\n",
          true}},
        {QStringLiteral("recompute"),
         {{QStringLiteral("kind"), QStringLiteral("month"), QStringLiteral("bank")},
          recompute,
          "usage: tallomer-db recompute FILE --kind cash|bank [--month YYYY-MM] [--bank NAME]\n"
          "\n"
          "Recomputes the running balances of one month of a journal, as the journal\n"
          "window's recomputation does: stored whole, or not at all.\n"
          "\n"
          "  --kind cash|bank   the cash journal, or the bank journal\n"
          "  --month YYYY-MM    the month (default: the month of the closing date)\n"
          "  --bank NAME        the bank account (bank journal only, required there)\n",
          true}},
        {QStringLiteral("export"),
         {{QStringLiteral("list"), QStringLiteral("format"), QStringLiteral("out"),
           QStringLiteral("month"), QStringLiteral("bank")},
          exportList,
          "usage: tallomer-db export FILE --list LIST --format FORMAT --out PATH\n"
          "                          [--month YYYY-MM] [--bank NAME]\n"
          "\n"
          "Writes a list with every column its window has, as the window's export does.\n"
          "\n"
          "  --list LIST        cash-month, bank-month, summaries, banks or operators\n"
          "  --format FORMAT    txt, csv, htm, rtf or xls\n"
          "  --out PATH         the file to write (replaced whole)\n"
          "  --month YYYY-MM    the month lists' month (default: the month of the\n"
          "                     closing date)\n"
          "  --bank NAME        the account of bank-month (required there)\n"}},
        {QStringLiteral("print"),
         {{QStringLiteral("list"), QStringLiteral("out"), QStringLiteral("month"),
           QStringLiteral("bank"), QStringLiteral("operator")},
          printList,
          "usage: tallomer-db print FILE --list LIST --out PATH.pdf [--month YYYY-MM]\n"
          "                         [--bank NAME] [--operator NAME]\n"
          "\n"
          "Writes the list's printout to a PDF file, as the window's print preview and\n"
          "printer show it: the page header with the title and the page number, the\n"
          "grid with its title row on every page and its footer row, then the line\n"
          "naming the time of printing and the operator. The window's print setup\n"
          "applies (A4 upright, margins of 2 cm, a grid wider than the page drawn\n"
          "smaller). Nothing is written for an empty list (exit status 1).\n"
          "\n"
          "  --list LIST        cash-month, bank-month or operators (the summary and\n"
          "                     bank account catalogues have no printout)\n"
          "  --out PATH.pdf     the file to write (replaced whole)\n"
          "  --month YYYY-MM    the month lists' month (default: the month of the\n"
          "                     closing date)\n"
          "  --bank NAME        the account of bank-month (required there)\n"
          "  --operator NAME    the operator named as the one who printed, one of the\n"
          "                     operator table (default 系统管理员)\n"}},
        {QStringLiteral("stats"),
         {{QStringLiteral("kind"), QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("year"),
           QStringLiteral("voucher"), QStringLiteral("bank")},
          statistics,
          "usage: tallomer-db stats FILE summary|month|voucher [--kind cash|bank] [options]\n"
          "\n"
          "Empties and fills the statistics table exactly as the statistics windows do,\n"
          "then prints its rows, tab-separated, after a title line.\n"
          "\n"
          "  --kind cash|bank   the journal to total (default cash)\n"
          "  --from DATE        summary, voucher: the first day (yyyy-M-d)\n"
          "  --to DATE          summary, voucher: the last day\n"
          "  --year YEAR        month: the year (2005 or 2005年)\n"
          "  --voucher NUMBER   voucher: the voucher number\n"
          "  --bank NAME        bank: one account (default every account)\n",
          true}},
        {QStringLiteral("import"),
         {{QStringLiteral("kind"), QStringLiteral("from"), QStringLiteral("bank"),
           QStringLiteral("operator")},
          importJournal,
          "usage: tallomer-db import FILE --kind cash|bank --from PATH [--bank NAME]\n"
          "                          [--operator NAME] [--add-summaries] [--dry-run]\n"
          "\n"
          "把 PATH 中的行导入数据库 FILE 的现金或银行日记帐。PATH 可以是本程序导出的\n"
          "txt、csv 或 xls 文件（GBK 编码，带标题行，最后的“记录数”行不导入），也可以是\n"
          "电子表格保存的 CSV 文件（UTF-8，有无 BOM 均可，或 GBK；用逗号、分号或制表符\n"
          "分隔；引号中的值可以含有双写的引号和换行）。\n"
          "\n"
          "按标题认列：日期、摘要、明细、借方(增加)或借方、贷方(减少)或贷方、凭证号、\n"
          "经办人、发票单位、备注，银行日记帐还有开户银行；余额列不读（余额重新计算）。\n"
          "不认识的列、缺少日期、摘要、借方、贷方（银行：开户银行）列时不导入。\n"
          "\n"
          "每一行都像编辑窗口存盘一样检查：日期是四位年份的日子，摘要不为空，借方和贷方\n"
          "恰有一个不为零，金额可带千位分隔符、最多四位小数，摘要在摘要设置中（记录取它的\n"
          "属性），开户银行在开户银行设置中。只要有一行不合格，就列出每个不合格的行\n"
          "（行号、内容和原因），什么都不写（退出状态 1）；否则在一个事务中写入所有的行，\n"
          "并重新计算涉及的每个月份（银行：每个账户的每个月份）的余额。同一个月中的记录\n"
          "按文件中的顺序排列。数据库被另一个程序打开时不导入（退出状态 3）。\n"
          "\n"
          "  --kind cash|bank   导入现金日记帐或银行日记帐\n"
          "  --from PATH        要导入的文件\n"
          "  --bank NAME        银行日记帐：文件中没有开户银行的行属于这个账户\n"
          "  --operator NAME    记录的操作员，须在操作员表中（默认 系统管理员，如果有）\n"
          "  --add-summaries    摘要设置中没有的摘要，按它的金额方向（借方：增加，\n"
          "                     贷方：减少）加入摘要设置，而不是拒绝这一行\n"
          "  --dry-run          只检查并报告，不写入\n",
          true,
          {QStringLiteral("add-summaries"), QStringLiteral("dry-run")}}},
        {QStringLiteral("search"),
         {{QStringLiteral("kind"), QStringLiteral("bank"), QStringLiteral("voucher"),
           QStringLiteral("summary"), QStringLiteral("detail"), QStringLiteral("handler"),
           QStringLiteral("invoice"), QStringLiteral("note"), QStringLiteral("from"),
           QStringLiteral("to")},
          searchJournal,
          "usage: tallomer-db search FILE --kind cash|bank [--bank NAME] [--voucher V]\n"
          "                          [--summary S] [--detail D] [--handler H] [--invoice I]\n"
          "                          [--note N] [--from DATE --to DATE]\n"
          "                          [--debit LOW HIGH] [--credit LOW HIGH]\n"
          "\n"
          "像日记帐的查询窗口一样查找所有月份的记录：同样的检查和提示，同样的查询条件\n"
          "（凭证号、明细、经办人、发票单位、备注中的英文字母变为大写；摘要在第一个条件时\n"
          "找以它开头的摘要，否则找含有它的摘要）。查询条件写在标准错误上；找到的记录按\n"
          "日记帐窗口查询后的顺序写在标准输出上，每行一条，用制表符分隔，第一行是窗口\n"
          "各列的标题，金额和日期与表格中显示的一样。\n"
          "\n"
          "  --kind cash|bank     查找现金日记帐或银行日记帐\n"
          "  --bank NAME          银行日记帐的开户银行（银行日记帐必须指定）\n"
          "  --voucher V ...      凭证号、摘要、明细、经办人、发票单位、备注中含有的文字\n"
          "  --from DATE --to DATE  日期范围（yyyy-M-d，两端都包括）\n"
          "  --debit LOW HIGH     借方金额范围（两端都包括）\n"
          "  --credit LOW HIGH    贷方金额范围（两端都包括）\n"
          "\n"
          "退出状态：0 找到记录，1 没有找到，2 条件有错误或没有条件。\n",
          false,
          {},
          {QStringLiteral("debit"), QStringLiteral("credit")}}},
    };
    return table;
}

// Drawing text into a PDF needs Qt's GUI side, though nothing is shown: the
// print command runs on the offscreen platform unless one is named.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "print") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs(kOverview, stderr);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        const auto topic = args.isEmpty() ? commands().end() : commands().find(args.first());
        std::fputs(topic == commands().end() ? kOverview : topic->second.help, stdout);
        return 0;
    }
    const auto it = commands().find(command);
    if (it == commands().end()) {
        err(QStringLiteral("tallomer-db: 没有命令“%1”").arg(command));
        std::fputs(kOverview, stderr);
        return 2;
    }
    if (args.contains(QLatin1String("--help"))) {
        std::fputs(it->second.help, stdout);
        return 0;
    }
    Arguments parsed;
    if (!parseArguments(args, it->second.options, parsed, it->second.flags, it->second.ranges))
        return 2;
    std::unique_ptr<store::BookLock> lock;
    if (it->second.writes && !parsed.has("dry-run") && !parsed.positional.isEmpty()) {
        lock = std::make_unique<store::BookLock>(parsed.positional.first());
        if (const int rc = lockDatabase(command, parsed.positional.first(), *lock))
            return rc;
    }
    try {
        return it->second.run(parsed);
    } catch (const store::EngineError& e) {
        err(QStringLiteral("tallomer-db %1: %2").arg(command, e.message()));
        return 1;
    }
}
