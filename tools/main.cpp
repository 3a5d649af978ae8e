// tallomer-db: the command-line companion of the desktop program.

#include "DemoData.h"
#include "ImportCommand.h"
#include "JournalSearchCommand.h"
#include "ListExport.h"
#include "ListPrint.h"
#include "MatchCommand.h"
#include "DailyCommand.h"
#include "ReconcileCommand.h"
#include "StatementImportCommand.h"
#include "StatsReport.h"

#include "journal/BalanceRecomputation.h"
#include "lists/ExportFormat.h"
#include "store/BookCopy.h"
#include "store/BookFiles.h"
#include "store/BookLocation.h"
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
#include "store/OtherDesks.h"
#include "store/Query.h"
#include "store/SafetyCopies.h"
#include "store/SystemErrorText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>
#include <new>

namespace {

void out(const QString& text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void err(const QString& text) { std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr); }

const char* const kOverview =
    "用法：tallomer-db COMMAND [ARGS]\n"
    "\n"
    "命令：\n"
    "  create FILE           建立一个新的数据库，带有安装时提供的初始记录\n"
    "  demo FILE             向数据库加入可重现的演示日记帐记录\n"
    "  check FILE            检查数据库的密码、表、字段和完整性\n"
    "  backup FILE TARGET    把数据库完整地备份到 TARGET\n"
    "  restore FILE SOURCE   用 SOURCE 经过检查的副本恢复数据库\n"
    "  copy FROM TO          把整个数据库逐行复制到新的数据库文件或服务器上的数据库\n"
    "  recompute FILE        整理日记帐一个月份的余额\n"
    "  export FILE           像列表窗口的“导出”一样导出一个列表\n"
    "  print FILE            把一个列表的打印结果写成 PDF 文件\n"
    "  stats FILE STATISTIC  填写统计表并输出它的行\n"
    "  import FILE           把导出的日记帐或电子表格的行导入一个日记帐\n"
    "  search FILE           按查询窗口的条件查找所有月份的日记帐记录\n"
    "  match FILE            把银行日记帐与银行对账单自动对账\n"
    "  reconcile FILE        编制一个开户银行月末的银行存款余额调节表\n"
    "  daily FILE            资金日报表：每个账户每天的上日余额、收入、支出和余额\n"
    "  statement-import FILE 把银行对账单文件中的行导入一个开户银行的对账单\n"
    "\n"
    "tallomer-db COMMAND --help 显示一个命令的详细说明。\n"
    "\n"
    "退出状态：0 完成，1 失败，2 参数有错误，3 数据库正被另一个程序打开（create、demo、\n"
    "restore、recompute、stats、import、statement-import 和 match 要写入数据库，工作时像\n"
    "程序运行时一样占用它的锁文件 FILE.LCK；check、backup、export、print、search、\n"
    "reconcile、daily 和带 --dry-run 的导入只读取数据库，照常工作）。\n"
    "\n"
    "FILE 也可以是服务器上数据库的连接字符串（例如 postgresql://cashier@server/company），\n"
    "服务器上的数据库由几台电脑共用，没有锁文件。\n";

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
    store::createBook(a.positional[0], store::standardPassword());
    out(QStringLiteral("已建立数据库 %1。").arg(a.positional[0]));
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
    out(QStringLiteral("已向 %1 加入 %2 条演示记录。").arg(a.positional[0]).arg(options.entries));
    return 0;
}

// Entries an older build stored with a typed time: sound, but missing from their month.
void warnOfTimesOfDay(const QString& path) {
    const auto connection = connect(path, true);
    for (const store::TimedJournalRow& row :
         store::journalRowsWithTimeOfDay(connection->database())) {
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
        out(QStringLiteral("%1: 检查通过").arg(a.positional[0]));
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
    out(QStringLiteral("已把 %1 备份到 %2。").arg(a.positional[0], a.positional[1]));
    return 0;
}

// A server book's rows are replaced; its former rows go to a dated file of the
// safety copies in the current folder first.
int restoreServer(const Arguments& a) {
    const auto server = store::openServerBook(a.positional[0], store::standardPassword());
    // Another desk's work would be overwritten under it.
    if (const int others = store::otherDesks(*server)) {
        err(QStringLiteral("tallomer-db restore: ") +
            store::otherDesksRefusal(others, QStringLiteral("恢复数据")));
        return 1;
    }
    const QString kept =
        store::restoreServerBook(a.positional[1], *server, store::standardPassword(), [&] {
            return store::SafetyCopies(a.positional[0])
                .makeRestoreCopy(*server, QDateTime::currentDateTime());
        });
    out(QStringLiteral("已用 %1 恢复 %2。")
            .arg(a.positional[1], store::shownBookName(a.positional[0])));
    out(QStringLiteral("原来的数据库已复制到 %1。").arg(kept));
    return 0;
}

int restore(const Arguments& a) {
    if (int rc = needTwoFiles(a, "restore", "来源"))
        return rc;
    if (store::isServerBook(a.positional[0]))
        return restoreServer(a);
    const bool replacing = QFileInfo::exists(a.positional[0]);
    store::restoreDatabaseFile(a.positional[1], a.positional[0], store::standardPassword());
    out(QStringLiteral("已用 %1 恢复 %2。").arg(a.positional[1], a.positional[0]));
    if (replacing)
        out(QStringLiteral("被替换的文件保留为 %1。").arg(store::keptPreviousFile(a.positional[0])));
    return 0;
}

int copy(const Arguments& a) {
    if (a.positional.size() != 2) {
        err(QStringLiteral("tallomer-db copy: 请指定来源数据库和目标数据库"));
        return 2;
    }
    const auto source = connect(a.positional[0], true);
    const store::BookCopyReport report = store::copyBook(source->database(), a.positional[1]);
    for (const store::BookCopyReport::Table& t : report.tables)
        out(QStringLiteral("%1\t%2 行").arg(t.name).arg(t.rows));
    out(QStringLiteral("已把 %1 复制到 %2：%3 个表，共 %4 行，已逐行核对。")
            .arg(store::shownBookName(a.positional[0]), store::shownBookName(a.positional[1]))
            .arg(report.tables.size())
            .arg(report.totalRows()));
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

// The journal --kind names (`fallback` when it is not given); false, with a
// message, for any other name.
bool journalKindOf(const Arguments& a, const char* command, store::JournalKind& kind,
                   const QString& fallback = QString()) {
    const QString name = a.has("kind") ? a.option("kind") : fallback;
    if (name != QLatin1String("cash") && name != QLatin1String("bank")) {
        err(QStringLiteral("tallomer-db %1: --kind 只能是 cash 或 bank").arg(QLatin1String(command)));
        return false;
    }
    kind = name == QLatin1String("cash") ? store::JournalKind::Cash : store::JournalKind::Bank;
    return true;
}

// The journal of a command that works on one journal: --kind is required,
// and --bank belongs to the bank journal.
bool readKind(const Arguments& a, const char* command, store::JournalKind& kind) {
    if (!journalKindOf(a, command, kind))
        return false;
    if (kind == store::JournalKind::Cash && a.has("bank")) {
        err(QStringLiteral("tallomer-db %1: --bank 只用于银行日记帐").arg(QLatin1String(command)));
        return false;
    }
    return true;
}

int recompute(const Arguments& a) {
    if (int rc = needOneFile(a, "recompute"))
        return rc;
    journal::JournalKind kind;
    if (!readKind(a, "recompute", kind))
        return 2;
    const auto connection = connect(a.positional[0]);
    QDate month;
    QString bank;
    if (!readMonth(a, "recompute", *connection, month) ||
        (kind == journal::JournalKind::Bank && !readBank(a, "recompute", *connection, bank)))
        return 2;
    const store::BookkeepingPeriod period(store::DateTime::fromDate(month));
    store::Query query(connection.get());
    journal::BalanceRecomputation::run(query, kind, period, bank);
    out(QStringLiteral("已重新计算%1 %2%3的 %4 条记录的余额。")
            .arg(store::journalTable(kind), month.toString(QStringLiteral("yyyy-MM")),
                 bank.isEmpty() ? QStringLiteral(" ") : QStringLiteral("（%1）").arg(bank),
                 QString::number(query.recordCount())));
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
    // The statistics total the cash journal unless told otherwise, and one
    // account of either journal may be named.
    if (!journalKindOf(a, "stats", request.kind, QStringLiteral("cash")))
        return 2;
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

// Refuses (with a message) an --out that would replace the book or one of
// its files: the export of a book must never take the book's place.
bool outputSparesTheBook(const Arguments& a, const char* command) {
    if (!store::isBookOrItsFile(a.positional[0], a.option("out")))
        return true;
    err(QStringLiteral("tallomer-db %1: --out %2 不能是数据库文件 %3 或属于它的文件！")
            .arg(QLatin1String(command), a.option("out"), a.positional[0]));
    return false;
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
    if (!monthAndBankFit(a, "export", *list) || !outputSparesTheBook(a, "export"))
        return 2;
    request.list = *list;
    request.type = *type;
    request.path = a.option("out");
    const auto connection = connect(a.positional[0], true);
    if (!readListRows(a, "export", *connection, *list, request.month, request.bankAccount))
        return 2;
    const tools::ExportSummary done = tools::exportList(*connection, request);
    out(QStringLiteral("已把 %1 条记录导出到 %2。").arg(done.records).arg(request.path));
    if (done.cutLabels > 0)
        err(lists::cutLabelsNotice(done.cutLabels));
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
    if (!monthAndBankFit(a, "print", *list) || !outputSparesTheBook(a, "print"))
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
    if (store::isSameFile(a.option("from"), a.positional[0])) {
        err(QStringLiteral("tallomer-db import: --from %1 不能是数据库文件 %2 本身！")
                .arg(a.option("from"), a.positional[0]));
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

int importStatement(const Arguments& a) {
    if (int rc = needOneFile(a, "statement-import"))
        return rc;
    if (a.option("bank").isEmpty() || a.option("from").isEmpty()) {
        err(QStringLiteral("tallomer-db statement-import: 请用 --bank 指定开户银行，用 --from 指定对账单文件"));
        return 2;
    }
    if (store::isBookOrItsFile(a.positional[0], a.option("from"))) {
        err(QStringLiteral("tallomer-db statement-import: --from %1 不能是数据库文件 %2 或属于它的文件！")
                .arg(a.option("from"), a.positional[0]));
        return 2;
    }
    tools::StatementImportRequest request;
    request.book = a.positional[0];
    request.file = a.option("from");
    request.bankAccount = a.option("bank");
    if (a.has("operator"))
        request.operatorName = a.option("operator");
    request.dryRun = a.has("dry-run");
    return tools::runStatementImport(request, out, err);
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

int matchStatement(const Arguments& a) {
    if (int rc = needOneFile(a, "match"))
        return rc;
    tools::MatchRequest request;
    request.book = a.positional[0];
    if (!a.has("bank")) {
        err(QStringLiteral("tallomer-db match: 请用 --bank 指定开户银行"));
        return 2;
    }
    request.bankAccount = a.option("bank");
    if (!readNumber(a, QStringLiteral("days"), 0, request.days))
        return 2;
    if (a.has("month")) {
        request.month = tools::monthNamed(a.option("month"));
        if (!request.month) {
            err(QStringLiteral("tallomer-db match: --month 要写成 YYYY-MM 形式的月份，不能是“%1”")
                    .arg(a.option("month")));
            return 2;
        }
    }
    if (a.has("operator"))
        request.operatorName = a.option("operator");
    return tools::runMatch(request, out, err);
}

int reconcile(const Arguments& a) {
    if (int rc = needOneFile(a, "reconcile"))
        return rc;
    tools::ReconcileRequest request;
    request.book = a.positional[0];
    request.bank = a.option("bank");
    if (a.has("month"))
        request.month = a.option("month");
    if (a.has("format"))
        request.format = a.option("format");
    request.out = a.option("out");
    if (a.has("operator"))
        request.operatorName = a.option("operator");
    return tools::runReconcile(request, out, err);
}

int daily(const Arguments& a) {
    if (int rc = needOneFile(a, "daily"))
        return rc;
    tools::DailyRequest request;
    request.book = a.positional[0];
    request.from = a.option("from");
    request.to = a.option("to");
    if (a.has("kind"))
        request.kind = a.option("kind");
    request.bank = a.option("bank");
    request.everyDay = a.has("every-day");
    if (a.has("format"))
        request.format = a.option("format");
    request.out = a.option("out");
    if (a.has("operator"))
        request.operatorName = a.option("operator");
    return tools::runDaily(request, out, err);
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
    const store::BookLock::Result result = lock.tryLock();
    if (result == store::BookLock::Result::Taken)
        return 0;
    if (result == store::BookLock::Result::Failed) {
        err(QStringLiteral("tallomer-db %1: 不能建立锁文件 %2：%3！")
                .arg(command, lock.lockFile(), store::systemErrorText(lock.failure())));
        return 1;
    }
    const store::BookLock::Holder holder = lock.holder().value_or(store::BookLock::Holder{});
    QStringList who;
    if (holder.anotherUser)
        who << QStringLiteral("用户 %1").arg(holder.user);
    if (holder.pid != 0)
        who << QStringLiteral("进程 %1").arg(holder.pid)
            << QStringLiteral("主机 %1").arg(holder.host);
    const QString named =
        who.isEmpty() ? QString() : QStringLiteral("（%1）").arg(who.join(QStringLiteral("，")));
    if (result == store::BookLock::Result::LeftByAnotherUser)
        err(QStringLiteral("tallomer-db %1: 锁文件 %2 是另一个用户的程序留下的%3，那个程序已经结束；"
                           "请用户 %4 或管理员删除这个锁文件！")
                .arg(command, lock.lockFile(), named, holder.user));
    else
        err(QStringLiteral("tallomer-db %1: 数据库文件 %2 正在被另一个程序使用%3，"
                           "请先关闭那个程序！")
                .arg(command, file, named));
    return kDatabaseInUse;
}

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table = {
        {QStringLiteral("create"),
         {{},
          create,
          "用法：tallomer-db create FILE\n"
          "\n"
          "建立一个新的数据库，其中有九个表和安装时提供的初始记录：一个口令为空的操作员、\n"
          "公司信息、记帐时间、常用摘要和一个开户银行。FILE 不能已经存在。只有文件的所有者\n"
          "可以读取这个文件。FILE 是连接字符串时，在服务器上那个还没有帐的数据库中建立。\n",
          true}},
        {QStringLiteral("demo"),
         {{QStringLiteral("entries"), QStringLiteral("years"), QStringLiteral("summaries"),
           QStringLiteral("banks"), QStringLiteral("seed")},
          demo,
          "用法：tallomer-db demo FILE [选项]\n"
          "\n"
          "向数据库加入可重现的演示日记帐记录，并整理每个月份的余额。\n"
          "\n"
          "  --entries N     两个日记帐合计的记录数（默认 2000）\n"
          "  --years N       记录分布的年数，到记帐时间所在的月份为止（默认 3）\n"
          "  --summaries N   把摘要设置扩充到 N 个摘要\n"
          "  --banks N       银行日记帐记录分布的开户银行数（默认 3）\n"
          "  --seed S        随机数种子（默认 1）\n",
          true}},
        {QStringLiteral("check"),
         {{},
          check,
          "用法：tallomer-db check FILE\n"
          "\n"
          "检查 FILE 能否用程序的密码打开，是否有九个表及其字段，能否通过 SQLite 的完整性\n"
          "检查；不合格时逐个列出问题，退出状态为 1。检查通过的文件中，日期带有时刻的日记帐\n"
          "记录（由旧版本写入，其月份的列表中不显示）在标准错误上各有一行警告，它们不影响\n"
          "退出状态。\n"}},
        {QStringLiteral("backup"),
         {{},
          backup,
          "用法：tallomer-db backup FILE TARGET\n"
          "\n"
          "把数据库 FILE 完整地备份到 TARGET，只有文件的所有者可以读取备份文件。已经存在的\n"
          "TARGET 只会被完整的副本替换。\n"}},
        {QStringLiteral("restore"),
         {{},
          restore,
          "用法：tallomer-db restore FILE SOURCE\n"
          "\n"
          "用 SOURCE 经过检查的副本替换数据库 FILE，被替换的文件保留为 FILE.bak。SOURCE 只被\n"
          "读取。程序或另一个 tallomer-db 命令打开着 FILE 时不恢复（退出状态 3）。FILE 是服务器\n"
          "上的数据库时，先把它复制到当前文件夹下 backups 中带日期的文件，再在一个事务中用\n"
          "SOURCE 的行替换它的行。\n",
          true}},
        {QStringLiteral("copy"),
         {{},
          copy,
          "用法：tallomer-db copy FROM TO\n"
          "\n"
          "把数据库 FROM 的每一个表的每一行（连同行号、计数器、数据库密码）复制到新的数据库\n"
          "TO，两者都可以是数据库文件或服务器上的数据库（连接字符串）。复制在 TO 的一个事务\n"
          "中完成，并逐表逐行与 FROM 核对，不符或失败时 TO 保持原样。TO 是文件时不能已经\n"
          "存在，是服务器上的数据库时其中不能已经有帐。FROM 只被读取。\n"}},
        {QStringLiteral("recompute"),
         {{QStringLiteral("kind"), QStringLiteral("month"), QStringLiteral("bank")},
          recompute,
          "用法：tallomer-db recompute FILE --kind cash|bank [--month YYYY-MM] [--bank NAME]\n"
          "\n"
          "像日记帐窗口的“整理”一样重新计算日记帐一个月份的余额：要么全部保存，要么什么都\n"
          "不改。\n"
          "\n"
          "  --kind cash|bank   现金日记帐或银行日记帐\n"
          "  --month YYYY-MM    月份（默认：记帐时间所在的月份）\n"
          "  --bank NAME        开户银行（只用于银行日记帐，银行日记帐必须指定）\n",
          true}},
        {QStringLiteral("export"),
         {{QStringLiteral("list"), QStringLiteral("format"), QStringLiteral("out"),
           QStringLiteral("month"), QStringLiteral("bank")},
          exportList,
          "用法：tallomer-db export FILE --list LIST --format FORMAT --out PATH\n"
          "                         [--month YYYY-MM] [--bank NAME]\n"
          "\n"
          "像列表窗口的“导出”一样，把一个列表连同其窗口的所有列写入文件。\n"
          "\n"
          "  --list LIST        cash-month、bank-month、summaries、banks 或 operators\n"
          "  --format FORMAT    txt、csv、htm、rtf 或 xls\n"
          "  --out PATH         要写的文件（整个替换；写完全部内容后才替换原来的文件，\n"
          "                     不能是数据库文件 FILE 或属于它的 -wal、-shm、.LCK、.bak\n"
          "                     文件和 backups 文件夹中的文件）\n"
          "  --month YYYY-MM    月份列表的月份（默认：记帐时间所在的月份）\n"
          "  --bank NAME        bank-month 的开户银行（bank-month 必须指定）\n"}},
        {QStringLiteral("print"),
         {{QStringLiteral("list"), QStringLiteral("out"), QStringLiteral("month"),
           QStringLiteral("bank"), QStringLiteral("operator")},
          printList,
          "用法：tallomer-db print FILE --list LIST --out PATH.pdf [--month YYYY-MM]\n"
          "                        [--bank NAME] [--operator NAME]\n"
          "\n"
          "像窗口的打印预览和打印机显示的那样，把列表的打印结果写成 PDF 文件：页头的标题和\n"
          "页码，每页都带有标题行的表格及其表尾行，最后是写明打印时间和操作员的一行。使用\n"
          "窗口的打印设置（A4 纵向，页边距 2 厘米，比页面宽的表格缩小绘制）。列表中没有记录\n"
          "时不写文件（退出状态 1）。\n"
          "\n"
          "  --list LIST        cash-month、bank-month 或 operators（摘要设置和开户银行设置\n"
          "                     在程序中没有打印）\n"
          "  --out PATH.pdf     要写的文件（整个替换，同 export 的 --out）\n"
          "  --month YYYY-MM    月份列表的月份（默认：记帐时间所在的月份）\n"
          "  --bank NAME        bank-month 的开户银行（bank-month 必须指定）\n"
          "  --operator NAME    作为打印者写出的操作员，须在操作员表中（默认 系统管理员）\n"}},
        {QStringLiteral("stats"),
         {{QStringLiteral("kind"), QStringLiteral("from"), QStringLiteral("to"),
           QStringLiteral("year"), QStringLiteral("voucher"), QStringLiteral("bank")},
          statistics,
          "用法：tallomer-db stats FILE summary|month|voucher [--kind cash|bank] [选项]\n"
          "\n"
          "像统计窗口一样清空并填写统计表，然后在一个标题行之后输出它的行，用制表符分隔。\n"
          "summary 按摘要统计，month 按月份统计，voucher 按凭证号+摘要统计。\n"
          "\n"
          "  --kind cash|bank   统计的日记帐（默认 cash）\n"
          "  --from DATE        summary、voucher：起始日期（yyyy-M-d）\n"
          "  --to DATE          summary、voucher：终止日期\n"
          "  --year YEAR        month：年度（2005 或 2005年）\n"
          "  --voucher NUMBER   voucher：凭证号\n"
          "  --bank NAME        银行日记帐：一个开户银行（默认所有开户银行）\n",
          true}},
        {QStringLiteral("import"),
         {{QStringLiteral("kind"), QStringLiteral("from"), QStringLiteral("bank"),
           QStringLiteral("operator")},
          importJournal,
          "用法：tallomer-db import FILE --kind cash|bank --from PATH [--bank NAME]\n"
          "                         [--operator NAME] [--add-summaries] [--dry-run]\n"
          "\n"
          "把 PATH 中的行导入数据库 FILE 的现金或银行日记帐。PATH 可以是本程序导出的\n"
          "txt、csv 或 xls 文件（GBK 编码，带标题行，最后的“记录数”行不导入），也可以是\n"
          "电子表格保存的 CSV 文件（UTF-8，有无 BOM 均可，或 GBK；用逗号、分号或制表符\n"
          "分隔；引号中的值可以含有双写的引号和换行），或 Excel、WPS、LibreOffice 保存的\n"
          "xls、xlsx 工作簿（读第一个有内容的工作表）。\n"
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
          "  --from PATH        要导入的文件（不能是数据库文件 FILE 本身）\n"
          "  --bank NAME        银行日记帐：文件中没有开户银行的行属于这个账户\n"
          "  --operator NAME    记录的操作员，须在操作员表中（默认 系统管理员，如果有）\n"
          "  --add-summaries    摘要设置中没有的摘要，按它的金额方向（借方：增加，\n"
          "                     贷方：减少）加入摘要设置，而不是拒绝这一行\n"
          "  --dry-run          只检查并报告，不写入\n",
          true,
          {QStringLiteral("add-summaries"), QStringLiteral("dry-run")}}},
        {QStringLiteral("statement-import"),
         {{QStringLiteral("bank"), QStringLiteral("from"), QStringLiteral("operator")},
          importStatement,
          "用法：tallomer-db statement-import FILE --bank NAME --from PATH [--operator NAME]\n"
          "                                   [--dry-run]\n"
          "\n"
          "像“银行对账单”窗口的“导入”一样，把网上银行导出的对账单 PATH 中的行导入数据库\n"
          "FILE 中开户银行 NAME 的对账单。PATH 可以是 CSV 文件（GBK、GB18030 或 UTF-8，有无\n"
          "BOM 均可；用逗号、分号或制表符分隔）、Excel 97-2003 工作簿（.xls）或 Excel 工作簿\n"
          "（.xlsx，读第一个工作表）。标题行上面可以有几行账号、户名、期间等说明。\n"
          "\n"
          "按银行常用的标题认列：交易日期或记账日期；摘要或用途；收入金额或存入、支出金额\n"
          "或支取，或者一个有正负号的交易金额；余额；对方户名；流水号或凭证号等。借方、贷方\n"
          "两列按余额逐行接续的方向确定哪个是收入（银行对账单上贷方是存入本单位账户的钱）。\n"
          "\n"
          "每一行都要检查：日期是四位年份的日子（2026-12-01、2026/12/01、20261201、\n"
          "2026年12月1日，后面可以有时刻），恰有一个金额，金额最多四位小数，余额与上一行\n"
          "接续。只要有一行不合格，就列出每个不合格的行（行号、内容和原因），什么都不写\n"
          "（退出状态 1）；否则在一个事务中写入所有新的行。已经导入过的行（开户银行、日期、\n"
          "金额、余额和流水号都相同）只计数，不再写入，所以同一个或有重叠的对账单可以再次\n"
          "导入。数据库被另一个程序打开时不导入（退出状态 3）。\n"
          "\n"
          "  --bank NAME        对账单所属的开户银行，须在开户银行设置中\n"
          "  --from PATH        对账单文件（不能是数据库文件 FILE 或属于它的文件）\n"
          "  --operator NAME    记录的操作员，须在操作员表中（默认 系统管理员，如果有）\n"
          "  --dry-run          只检查并报告，不写入\n",
          true,
          {QStringLiteral("dry-run")}}},
        {QStringLiteral("search"),
         {{QStringLiteral("kind"), QStringLiteral("bank"), QStringLiteral("voucher"),
           QStringLiteral("summary"), QStringLiteral("detail"), QStringLiteral("handler"),
           QStringLiteral("invoice"), QStringLiteral("note"), QStringLiteral("from"),
           QStringLiteral("to")},
          searchJournal,
          "用法：tallomer-db search FILE --kind cash|bank [--bank NAME] [--voucher V]\n"
          "                         [--summary S] [--detail D] [--handler H] [--invoice I]\n"
          "                         [--note N] [--from DATE --to DATE]\n"
          "                         [--debit LOW HIGH] [--credit LOW HIGH]\n"
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
        {QStringLiteral("match"),
         {{QStringLiteral("bank"), QStringLiteral("days"), QStringLiteral("month"),
           QStringLiteral("operator")},
          matchStatement,
          "用法：tallomer-db match FILE --bank NAME [--days N] [--month YYYY-MM]\n"
          "                        [--operator NAME]\n"
          "\n"
          "像“银行对账”窗口的“自动对账”一样，把一个开户银行的银行日记帐记录与银行对账单\n"
          "记录配对：日记帐的借方等于对账单的收入（或贷方等于支出），日期相差不超过 N 天。\n"
          "几条记录都合适时，对账单的流水号与凭证号相同（不计空格和大小写）的优先，其次是\n"
          "日期最近的，再次是较早的日记帐记录。每条记录最多对上一次，已经对账的记录不动。\n"
          "每对记录写成一组对账记录，带有操作员和时间，全部在一个事务中写入。先输出一个\n"
          "标题行，再每对一行（日记帐记录，然后对账单记录，用制表符分隔），最后一行写明\n"
          "对上的对数和还没有对账的记录数。数据库被另一个程序打开时不对账（退出状态 3）。\n"
          "\n"
          "  --bank NAME        开户银行，须在开户银行设置中\n"
          "  --days N           日期最多相差的天数（默认 3）\n"
          "  --month YYYY-MM    只对这个月份的记录对账（另一方可以在月份前后 N 天内）；\n"
          "                     默认：所有日期中还没有对账的记录\n"
          "  --operator NAME    对账记录的操作员，须在操作员表中（默认 系统管理员，如果有）\n",
          true}},
        {QStringLiteral("reconcile"),
         {{QStringLiteral("bank"), QStringLiteral("month"), QStringLiteral("format"),
           QStringLiteral("out"), QStringLiteral("operator")},
          reconcile,
          "用法：tallomer-db reconcile FILE --bank NAME [--month YYYY-MM]\n"
          "                            [--format txt|csv|xls|html|rtf|pdf] [--out PATH]\n"
          "                            [--operator NAME]\n"
          "\n"
          "像“余额调节表”窗口一样，编制开户银行在月末的银行存款余额调节表：左边是企业\n"
          "银行存款日记账余额（该账户到月末的所有记录），加银行已收、企业未收，减银行\n"
          "已付、企业未付；右边是银行对账单余额（到月末的最后一行对账单），加企业已收、\n"
          "银行未收，减企业已付、银行未付；最后是两边调节后的存款余额和它们是否相符。\n"
          "未达账项逐笔列出日期、摘要和金额，只计该账户第一行对账单的日期以后的记录。\n"
          "月末以前没有对账单时不编制（退出状态 1）。\n"
          "\n"
          "没有 --out 时把调节表用制表符分隔写在标准输出上；有 --out 时像列表窗口的\n"
          "“导出”一样写入文件，或者像打印预览一样写成 PDF 文件，并在标准输出上说明两边\n"
          "是否相符。\n"
          "\n"
          "  --bank NAME        开户银行（必须指定）\n"
          "  --month YYYY-MM    月份（默认：记帐时间所在的月份）\n"
          "  --format FORMAT    txt、csv、xls、html、rtf 或 pdf（默认：--out 的扩展名）\n"
          "  --out PATH         要写的文件（整个替换，同 export 的 --out）\n"
          "  --operator NAME    pdf：作为打印者写出的操作员，须在操作员表中（默认 系统管理员）\n"}},
        {QStringLiteral("daily"),
         {{QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("kind"),
           QStringLiteral("bank"), QStringLiteral("format"), QStringLiteral("out"),
           QStringLiteral("operator")},
          daily,
          "用法：tallomer-db daily FILE [--from DATE --to DATE] [--kind cash|bank]\n"
          "                        [--bank NAME] [--every-day]\n"
          "                        [--format txt|csv|xls|html|rtf|pdf] [--out PATH]\n"
          "                        [--operator NAME]\n"
          "\n"
          "像“资金日报表”窗口一样，列出日期范围内每天每个有记录的账户（现金或开户银行）：\n"
          "上日余额（该账户这一天以前所有月份的记录之和，不是月内的余额）、本日收入\n"
          "（借方之和）、本日支出（贷方之和）、本日余额、收入笔数和支出笔数。选了几个\n"
          "账户时每天再加一行小计；最后一行是合计：范围开始时的余额、收入和支出之和、\n"
          "范围结束时的余额。没有 --out 时先输出标题行和列名，各列用制表符分隔；有 --out\n"
          "时像列表窗口的“导出”一样写入文件，或者像打印预览一样写成 PDF 文件。金额之和\n"
          "超出范围时不输出（退出状态 1）。\n"
          "\n"
          "  --from DATE --to DATE  日期范围（yyyy-M-d，两端都包括；默认：记帐时间那一天）\n"
          "  --kind cash|bank   只列现金或只列开户银行（默认：现金和所有开户银行）\n"
          "  --bank NAME        只列这个开户银行\n"
          "  --every-day        范围内的每一天都列出每个账户，没有记录的也列\n"
          "  --format FORMAT    txt、csv、xls、html、rtf 或 pdf（默认：--out 的扩展名）\n"
          "  --out PATH         要写的文件（整个替换，同 export 的 --out）\n"
          "  --operator NAME    pdf：作为打印者写出的操作员，须在操作员表中（默认 系统管理员）\n",
          false,
          {QStringLiteral("every-day")}}},
    };
    return table;
}

// Whether the command line asks for a PDF file: print always does, reconcile
// and daily with --format pdf or an --out named *.pdf.
bool writesPdf(int argc, char** argv) {
    if (argc < 2 || qstrcmp(argv[1], "print") == 0)
        return argc >= 2;
    if (qstrcmp(argv[1], "reconcile") != 0 && qstrcmp(argv[1], "daily") != 0)
        return false;
    for (int i = 2; i < argc; ++i) {
        const QByteArray arg = QByteArray(argv[i]).toLower();
        if (arg == "pdf" || arg.endsWith(".pdf"))
            return true;
    }
    return false;
}

// Drawing text into a PDF needs Qt's GUI side, though nothing is shown: the
// commands that print run on the offscreen platform unless one is named.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (writesPdf(argc, argv)) {
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
    // The lock file is for a book file; a server book is shared by its desks.
    if (it->second.writes && !parsed.has("dry-run") && !parsed.positional.isEmpty() &&
        !store::isServerBook(parsed.positional.first())) {
        lock = std::make_unique<store::BookLock>(parsed.positional.first());
        if (const int rc = lockDatabase(command, parsed.positional.first(), *lock))
            return rc;
    }
    try {
        return it->second.run(parsed);
    } catch (const store::EngineError& e) {
        err(QStringLiteral("tallomer-db %1: %2").arg(command, e.message()));
        return 1;
    } catch (const std::bad_alloc&) {
        err(QStringLiteral("tallomer-db %1: 内存不足，没有完成！").arg(command));
        return 1;
    } catch (const std::exception& e) {
        // A failure no command foresaw still ends with a message, never with an abort.
        err(QStringLiteral("tallomer-db %1: 意外的错误（%2），没有完成！")
                .arg(command, QString::fromLocal8Bit(e.what())));
        return 1;
    }
}
