// tallomer-db import: the program's own exports coming back whole, spreadsheet
// files, refused rows and the summaries an import may add.

#include "support/FileContents.h"
#include "ToolRun.h"

#include "support/TestDatabase.h"
#include "tools/DemoData.h"
#include "lists/ImportFileReader.h"
#include "tools/JournalImport.h"
#include "tools/ListExport.h"

#include "lists/GbkText.h"
#include "store/BookLock.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QFile>
#include <QtEndian>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

using testing_support::TestDatabase;
using toolrun::tool;

using testing_support::contents;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList rowsOf(store::Database& db, const QString& sql,
                   const QString& nullText = QStringLiteral("<null>")) {
    QStringList rows;
    store::Statement s(db, sql);
    while (s.step()) {
        QStringList cells;
        for (int c = 0; c < s.columnCount(); ++c)
            cells << (s.isNull(c) ? nullText : s.value(c).toString());
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QString journalRows(const QString& table) {
    // Each bank account's entries come back in their order; how accounts interleave is no order.
    const bool bank = table == QStringLiteral("银行日记帐");
    return QStringLiteral("select 日期, 摘要, 属性, 明细, 借方, 贷方, 余额, 凭证号, 经办人, 发票单位, 备注%1 "
                          "from %2 order by %3日期+编号, 编号")
        .arg(bank ? QStringLiteral(", 开户银行") : QString(), table,
             bank ? QStringLiteral("开户银行, ") : QString());
}

// Demo entries of the year up to June 2023.
void addDemoYear(TestDatabase& book, int entries, int bankAccounts) {
    book.exec(QStringLiteral("update 关帐日期 set 关帐日期 = cdate('2023-6-18')"));
    tools::DemoOptions demo;
    demo.entries = entries;
    demo.years = 1;
    demo.bankAccounts = bankAccounts;
    tools::addDemoData(book.connection(), demo);
}

} // namespace

TEST(JournalImport, ExportedMonthsComeBackByteForByteInEveryFormat) {
    TestDatabase source;
    addDemoYear(source, 1200, 2);
    const QStringList accounts = rowsOf(source.db(), QStringLiteral("select 项目 from 开户银行"));

    for (const int type : {1, 2, 5}) {
        SCOPED_TRACE(type);
        TestDatabase copy;
        for (const QString& account : accounts)
            copy.exec(QStringLiteral("insert into 开户银行 (项目) select '%1' where not exists "
                                     "(select 1 from 开户银行 where 项目 = '%1')").arg(account));
        int files = 0;
        for (int m = 1; m <= 12; ++m) {
            const QDate month = QDate(2022, 7, 1).addMonths(m - 1);
            QList<std::pair<tools::ExportList, QString>> lists = {{tools::ExportList::CashMonth, QString()}};
            for (const QString& account : accounts)
                lists.append({tools::ExportList::BankMonth, account});
            for (const auto& [list, account] : lists) {
                tools::ExportRequest request{list, type, source.folder() + QStringLiteral("/out"), month, account};
                tools::exportList(source.connection(), request);
                tools::ImportOptions options;
                options.kind = list == tools::ExportList::CashMonth ? store::JournalKind::Cash
                                                                    : store::JournalKind::Bank;
                options.addSummaries = true;
                const tools::ImportResult imported = tools::importJournal(
                    copy.connection(), lists::readImportFile(request.path), options);
                ASSERT_TRUE(imported.refused.isEmpty()) << imported.refused.first().reason.toStdString();
                EXPECT_TRUE(imported.written || imported.entries == 0);
                const QByteArray first = contents(request.path);
                request.path = copy.folder() + QStringLiteral("/again");
                tools::exportList(copy.connection(), request);
                ASSERT_EQ(contents(request.path), first) << month.toString().toStdString();
                ++files;
            }
        }
        EXPECT_EQ(files, 36);
        // What no export shows comes back too: each entry's attribute, in the same journal order.
        for (const QString& table : {QStringLiteral("现金日记帐"), QStringLiteral("银行日记帐")}) {
            // A text file has no null: an empty text comes back as an empty cell.
            const QStringList copied = rowsOf(copy.db(), journalRows(table), QString());
            const QStringList original = rowsOf(source.db(), journalRows(table), QString());
            ASSERT_EQ(copied.size(), original.size());
            for (qsizetype i = 0; i < copied.size(); ++i)
                ASSERT_EQ(copied[i].toStdString(), original[i].toStdString()) << table.toStdString() << " " << i;
        }
    }
}

TEST(JournalImport, AnEntrySavedAfterAnImportTakesACounterAfterTheImportedOnes) {
    TestDatabase source;
    addDemoYear(source, 200, 1);
    tools::ExportRequest request{tools::ExportList::CashMonth, 1,
                                 source.folder() + QStringLiteral("/out"), QDate(2023, 6, 1),
                                 QString()};
    tools::exportList(source.connection(), request);
    TestDatabase copy;
    tools::ImportOptions options;
    options.kind = store::JournalKind::Cash;
    options.addSummaries = true;
    const tools::ImportResult imported =
        tools::importJournal(copy.connection(), lists::readImportFile(request.path), options);
    ASSERT_GT(imported.entries, 0);
    const qint64 last =
        copy.scalar(QStringLiteral("select max(编号) from 现金日记帐")).toLongLong();
    // An ordinary save lets the book give the counter.
    copy.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要) values (45000, '其他收入')"));
    EXPECT_EQ(copy.scalar(QStringLiteral("select max(编号) from 现金日记帐")).toLongLong(),
              last + 1);
    EXPECT_EQ(copy.db().lastCounter(store::table::cashJournal), last + 1);
}

class ImportCommand : public ::testing::Test {
protected:
    ImportCommand() {
        m_book = m_dir.filePath(QStringLiteral("xjrjz.mdb"));
        EXPECT_EQ(tool({QStringLiteral("create"), m_book}).exitCode, 0);
        m_file = m_dir.filePath(QStringLiteral("rows.csv"));
    }

    toolrun::ToolRun import(const QString& kind, QStringList more = {}) {
        return tool(QStringList{QStringLiteral("import"), m_book, QStringLiteral("--kind"), kind,
                                QStringLiteral("--from"), m_file} + more);
    }
    QStringList rows(const QString& sql) { return rowsIn(m_book, sql); }
    static QStringList rowsIn(const QString& book, const QString& sql) {
        const auto db = store::openDatabaseFile(book, store::standardPassword());
        return rowsOf(*db, sql);
    }

    QTemporaryDir m_dir;
    QString m_book;
    QString m_file;
};

TEST_F(ImportCommand, ReadsASpreadsheetsCsvWithItsQuotesLineBreaksAndGroupSeparators) {
    writeFile(m_file, "\xEF\xBB\xBF"
                      "日期,凭证号,摘要,明细,借方,贷方,余额,经办人,发票单位,备注\r\n"
                      "2023-6-1,0001,销售收入,\"门市零售\r\n第二行\",\"1,234.50\",,\"1,234.50\",张伟,"
                      "\"星海\"\"文具\"\"店\",\r\n"
                      "2023-06-01,0002,办公费,复印纸,,88.8,,王芳,,\r\n"
                      "2023/6/2,0003, 工资 ,六月工资,0,\"12,000.0001\",,李娜,,附单据2张\r\n"
                      ",,,,,,,,,\r\n");
    const toolrun::ToolRun run = import(QStringLiteral("cash"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("已把 3 条记录导入现金日记帐，重新计算了 1 个月份的余额。\n"));
    EXPECT_EQ(rows(QStringLiteral("select 日期, 凭证号, 摘要, 属性, 明细, 借方, 贷方, 余额, 经办人, 发票单位, "
                                  "备注, 操作员 from 现金日记帐 order by 日期+编号")),
              (QStringList{
                  QStringLiteral("45078|0001|销售收入|增加|门市零售\r\n第二行|12345000|<null>|12345000|张伟|"
                                 "星海\"文具\"店|<null>|系统管理员"),
                  QStringLiteral("45078|0002|办公费|减少|复印纸|<null>|888000|11457000|王芳|<null>|<null>|系统管理员"),
                  QStringLiteral("45079|0003|工资|减少|六月工资|0|120000001|-108543001|李娜|<null>|附单据2张|"
                                 "系统管理员"),
              }));
    // UTF-8 without its mark and ";" between values read alike; a dry run writes nothing.
    writeFile(m_file, "日期;摘要;借方;贷方\n2023-6-3;销售收入;5;\n");
    const toolrun::ToolRun dry = import(QStringLiteral("cash"), {QStringLiteral("--dry-run")});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.startsWith(QStringLiteral("检查完毕：1 条记录都可以导入现金日记帐"))) << dry.out.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select count(*) from 现金日记帐")), QStringList{QStringLiteral("3")});
}

TEST_F(ImportCommand, RefusesEveryBadRowWithItsLineAndWritesNothing) {
    writeFile(m_file, "开户银行,日期,摘要,借方,贷方,明细\n"
                      "工商银行基本户,2023-6-1,销售收入,100,,好的\n"
                      "工商银行基本户,2023-2-30,销售收入,100,,坏日期\n"
                      "工商银行基本户,23-6-1,销售收入,100,,两位年份\n"
                      "工商银行基本户,2023-6-2,销售收入,100,50,\"两个\n金额\"\n"
                      "工商银行基本户,2023-6-3,租金收入,100,,不认识的摘要\n"
                      "招商银行,2023-6-3,销售收入,100,,不认识的银行\n"
                      "工商银行基本户,2023-6-3,销售收入,1.00005,,五位小数\n"
                      "工商银行基本户,2023-6-3,办公费,0,,没有金额\n"
                      "工商银行基本户,2023-6-3,,5,,没有摘要\n");
    const toolrun::ToolRun run = import(QStringLiteral("bank"), {QStringLiteral("--add-summaries")});
    EXPECT_EQ(run.exitCode, 1);
    const QString f = m_file;
    EXPECT_EQ(run.err,
              f + QStringLiteral(" 第 3 行：日期输入错误,请重新输入!\n    工商银行基本户,2023-2-30,销售收入,100,,坏日期\n") +
              f + QStringLiteral(" 第 4 行：日期输入错误,请重新输入!\n    工商银行基本户,23-6-1,销售收入,100,,两位年份\n") +
              f + QStringLiteral(" 第 5 行：借方和贷方不能同时有金额,请重新输入!\n"
                                 "    工商银行基本户,2023-6-2,销售收入,100,50,\"两个\n    金额\"\n") +
              f + QStringLiteral(" 第 8 行：开户银行“招商银行”不在开户银行设置中!\n    招商银行,2023-6-3,销售收入,100,,不认识的银行\n") +
              f + QStringLiteral(" 第 9 行：借方“1.00005”超过四位小数,请重新输入!\n"
                                 "    工商银行基本户,2023-6-3,销售收入,1.00005,,五位小数\n") +
              f + QStringLiteral(" 第 10 行：借方和贷方不能同时为零,请重新输入!\n    工商银行基本户,2023-6-3,办公费,0,,没有金额\n") +
              f + QStringLiteral(" 第 11 行：摘要不能为空,请重新输入!\n    工商银行基本户,2023-6-3,,5,,没有摘要\n") +
              QStringLiteral("tallomer-db import: 有 7 行不能导入，没有写入任何记录！\n"));
    // Nothing went in, not even the summary the one good unknown-summary row would have added.
    EXPECT_EQ(rows(QStringLiteral("select count(*) from 银行日记帐")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(rows(QStringLiteral("select count(*) from 摘要 where 摘要 = '租金收入'")), QStringList{QStringLiteral("0")});

    // Without the flag the unknown summary is refused by name.
    writeFile(m_file, "日期,摘要,借方,贷方\n2023-6-3,租金收入,100,\n");
    EXPECT_TRUE(import(QStringLiteral("bank"), {QStringLiteral("--bank"), QStringLiteral("工商银行基本户")})
                    .err.contains(QStringLiteral("第 2 行：摘要“租金收入”不在摘要设置中")));

    const std::pair<QByteArray, QString> wrongTitles[] = {
        {"日期,摘要,金额,贷方\n", QStringLiteral("不认识的列“金额”（第 3 列）")},
        {"日期,摘要,借方\n", QStringLiteral("缺少“贷方(减少)”或“贷方”列")},
        {"开户银行,日期,摘要,借方,贷方\n", QStringLiteral("不认识的列“开户银行”（第 1 列）")},
    };
    for (const auto& [titles, message] : wrongTitles) {
        writeFile(m_file, titles + "工商银行基本户,2023-6-3,销售收入,1,\n");
        const toolrun::ToolRun refused = import(QStringLiteral("cash"));
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.err.contains(message)) << refused.err.toStdString();
    }
}

TEST_F(ImportCommand, AddsUnknownSummariesWithTheAttributeOfTheirSide) {
    writeFile(m_file, "日期,摘要,借方(增加),贷方(减少),凭证号\n"
                      "2023-6-1,租金收入,500,,1\n"
                      "2023-6-2,罚款支出,,20,2\n"
                      "2023-6-3,租金收入,,30,3\n");
    const toolrun::ToolRun dry = import(QStringLiteral("cash"), {QStringLiteral("--add-summaries"), QStringLiteral("--dry-run")});
    EXPECT_EQ(dry.exitCode, 0);
    EXPECT_TRUE(dry.out.startsWith(QStringLiteral("将增加摘要：租金收入（增加）\n将增加摘要：罚款支出（减少）\n")));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from 摘要 where 摘要 like '%租金%'")), QStringList{QStringLiteral("0")});

    EXPECT_EQ(import(QStringLiteral("cash"), {QStringLiteral("--operator"), QStringLiteral("无名氏")}).exitCode, 2);
    const toolrun::ToolRun run = import(QStringLiteral("cash"), {QStringLiteral("--add-summaries")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select 摘要, 属性, 操作员 from 摘要 order by 代码 desc limit 2")),
              (QStringList{QStringLiteral("罚款支出|减少|系统管理员"), QStringLiteral("租金收入|增加|系统管理员")}));
    // An entry takes its summary's attribute from the catalogue, whatever its side.
    EXPECT_EQ(rows(QStringLiteral("select 属性, 余额 from 现金日记帐 order by 日期+编号")),
              (QStringList{QStringLiteral("增加|5000000"), QStringLiteral("减少|4800000"),
                           QStringLiteral("增加|4500000")}));
}

TEST_F(ImportCommand, WaitsForTheProgramThatHasTheBookOpenButChecksAllTheSame) {
    writeFile(m_file, "日期,摘要,借方,贷方\n2023-6-3,销售收入,5,\n");
    store::BookLock program(m_book);
    ASSERT_EQ(program.tryLock(), store::BookLock::Result::Taken);
    EXPECT_EQ(import(QStringLiteral("cash")).exitCode, 3);
    EXPECT_EQ(import(QStringLiteral("cash"), {QStringLiteral("--dry-run")}).exitCode, 0);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from 现金日记帐")), QStringList{QStringLiteral("0")});
}

TEST_F(ImportCommand, ATextExportWithQuotesInItsDetailsComesBackRowForRow) {
    // Details that begin or end with a double quote, as a cashier may type them.
    writeFile(m_file, "开户银行,日期,摘要,明细,借方,贷方\n"
                      "工商银行基本户,2023-5-31,销售收入,五月,2,\n"
                      "工商银行基本户,2023-6-1,销售收入,\"\"\"门市\",100,\n"
                      "工商银行基本户,2023-6-2,办公费,\"复印纸\"\"\",,50.00\n"
                      "工商银行基本户,2023-6-3,销售收入,\"\"\"批发\"\"\",20,\n");
    ASSERT_EQ(import(QStringLiteral("bank")).exitCode, 0);
    const QString copy = m_dir.filePath(QStringLiteral("copy.mdb"));
    ASSERT_EQ(tool({QStringLiteral("create"), copy}).exitCode, 0);
    for (const QString& month : {QStringLiteral("2023-05"), QStringLiteral("2023-06")}) {
        m_file = m_dir.filePath(month + QStringLiteral(".txt"));
        ASSERT_EQ(
            tool({QStringLiteral("export"), m_book, QStringLiteral("--list"),
                  QStringLiteral("bank-month"), QStringLiteral("--format"), QStringLiteral("txt"),
                  QStringLiteral("--out"), m_file, QStringLiteral("--month"), month,
                  QStringLiteral("--bank"), QStringLiteral("工商银行基本户")})
                .exitCode,
            0);
        const QStringList back = {QStringLiteral("import"),         copy,
                                  QStringLiteral("--kind"),         QStringLiteral("bank"),
                                  QStringLiteral("--from"),         m_file,
                                  QStringLiteral("--add-summaries")};
        const toolrun::ToolRun dry = tool(back + QStringList{QStringLiteral("--dry-run")});
        EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
        const toolrun::ToolRun run = tool(back);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains(QStringLiteral("已增加摘要"))) << run.out.toStdString();
    }
    EXPECT_EQ(rowsIn(copy, QStringLiteral("select 明细 from 银行日记帐 order by 日期+编号")),
              (QStringList{QStringLiteral("五月"), QStringLiteral("\"门市"),
                           QStringLiteral("复印纸\""), QStringLiteral("\"批发\"")}));
    EXPECT_EQ(rowsIn(copy, journalRows(QStringLiteral("银行日记帐"))),
              rowsIn(m_book, journalRows(QStringLiteral("银行日记帐"))));
}

TEST_F(ImportCommand, DetailsTheExportGuardsAsTextComeBackAsTyped) {
    // The text exports write a leading ' before a cell a spreadsheet would take for a
    // formula; the import reads it back as the cashier typed it.
    writeFile(m_file, "日期,摘要,明细,借方,贷方\n"
                      "2023-6-1,销售收入,=1+1,100,\n"
                      "2023-6-2,办公费,-复印纸,,50.00\n"
                      "2023-6-3,销售收入,'单引号,20,\n");
    ASSERT_EQ(import(QStringLiteral("cash")).exitCode, 0);
    for (const QString& format : {QStringLiteral("txt"), QStringLiteral("csv")}) {
        const QString copy = m_dir.filePath(format + QStringLiteral(".mdb"));
        ASSERT_EQ(tool({QStringLiteral("create"), copy}).exitCode, 0);
        m_file = m_dir.filePath(QStringLiteral("2023-06.") + format);
        ASSERT_EQ(tool({QStringLiteral("export"), m_book, QStringLiteral("--list"),
                        QStringLiteral("cash-month"), QStringLiteral("--format"), format,
                        QStringLiteral("--out"), m_file, QStringLiteral("--month"),
                        QStringLiteral("2023-06")})
                      .exitCode,
                  0);
        const toolrun::ToolRun run =
            tool({QStringLiteral("import"), copy, QStringLiteral("--kind"), QStringLiteral("cash"),
                  QStringLiteral("--from"), m_file});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(rowsIn(copy, QStringLiteral("select 明细 from 现金日记帐 order by 日期+编号")),
                  (QStringList{QStringLiteral("=1+1"), QStringLiteral("-复印纸"),
                               QStringLiteral("'单引号")}))
            << format.toStdString();
    }
}

TEST_F(ImportCommand, RefusesRowsWhoseValuesDoNotFitTheTitleRow) {
    // A quote that never closes runs to the end of the file; a tab too many or too few
    // moves every value after it into another column.
    const std::pair<QByteArray, QStringList> files[] = {
        {"日期,摘要,明细,借方,贷方\n"
         "2023-6-1,销售收入,\"门市,100,\n"
         "2023-6-2,办公费,复印纸,,50.00\n",
         {QStringLiteral("第 2 行：这一行有 3 列，标题行有 5 列，不能确定各个值的列！")}},
        {"日期\t摘要\t明细\t借方\t贷方\r\n"
         "2023-6-1\t销售收入\t门市\t100\t\r\n"
         "2023-6-2\t办公费\t复印纸\t\t50.00\t\r\n"
         "2023-6-3\t销售收入\t20\r\n",
         {QStringLiteral("第 3 行：这一行有 6 列，标题行有 5 列，不能确定各个值的列！"),
          QStringLiteral("第 4 行：这一行有 3 列，标题行有 5 列，不能确定各个值的列！")}},
    };
    for (const auto& [bytes, reasons] : files) {
        writeFile(m_file, bytes);
        for (const QStringList& more : {QStringList{QStringLiteral("--dry-run")}, QStringList{}}) {
            const toolrun::ToolRun run = import(QStringLiteral("cash"), more);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
            for (const QString& reason : reasons)
                EXPECT_TRUE(run.err.contains(m_file + QLatin1Char(' ') + reason))
                    << run.err.toStdString();
        }
    }
    EXPECT_EQ(rows(QStringLiteral("select count(*) from 现金日记帐")),
              QStringList{QStringLiteral("0")});
}

TEST_F(ImportCommand, ReadsAGb18030CsvWithItsEuroSignsAndEmoji) {
    // What a spreadsheet saves as GB18030: GBK, the euro sign as A2E3 and characters beyond
    // the basic plane as four bytes.
    writeFile(m_file, lists::toGbk(u"日期,摘要,明细,借方,贷方\r\n2023-6-1,销售收入,欧元") +
                          "\xA2\xE3" + lists::toGbk(u"现钞,100,\r\n2023-6-2,办公费,") +
                          "\x94\x39\xFC\x36" + lists::toGbk(u",,5\r\n"));
    const toolrun::ToolRun run = import(QStringLiteral("cash"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select 明细 from 现金日记帐 order by 日期+编号")),
              (QStringList{QStringLiteral("欧元€现钞"), QStringLiteral("😀")}));
}

namespace {

// A worksheet as the export begins and ends it, with blank cells at the given places between.
QByteArray worksheetWithBlanks(const QList<std::pair<int, int>>& cells) {
    QByteArray bytes;
    auto word = [&bytes](int value) {
        const quint16 le = qToLittleEndian(quint16(value));
        bytes.append(reinterpret_cast<const char*>(&le), 2);
    };
    for (const int w : {0x0809, 8, 0, 0x0010, 0, 0})
        word(w);
    for (const auto& [row, column] : cells)
        for (const int w : {0x0201, 6, row, column, 0x0017})
            word(w);
    word(0x000A);
    word(0);
    return bytes;
}

// The import as a cashier runs it, but with no more than 100 MB of address space.
toolrun::ToolRun importWithinAHundredAndTenMegabytes(const QStringList& args) {
    QProcess process;
    process.setChildProcessModifier([] {
        // The program maps the server client library and its own (about 10 MB) beside its work.
        const rlimit limit{110 << 20, 110 << 20};
        setrlimit(RLIMIT_AS, &limit);
    });
    process.start(toolrun::kTool, QStringList{QStringLiteral("import")} + args);
    EXPECT_TRUE(process.waitForFinished(60000)) << args.join(QLatin1Char(' ')).toStdString();
    toolrun::ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

TEST_F(ImportCommand, RefusesWhatCouldExhaustMemoryWithAMessageWithinAHundredAndTenMegabytes) {
    const QStringList args = {m_book, QStringLiteral("--kind"), QStringLiteral("cash"),
                              QStringLiteral("--from"), m_file};
    // A sound small file goes in within the same bound.
    writeFile(m_file, "日期,摘要,借方,贷方\n2023-6-3,销售收入,5,\n");
    EXPECT_EQ(importWithinAHundredAndTenMegabytes(args).exitCode, 0);

    QList<std::pair<int, int>> farColumns; // 20 KB naming 2,000 rows of 65,536 columns
    for (int r = 0; r < 2000; ++r)
        farColumns.append({r, 65535});
    const QByteArray tooLarge(64 * 1024 * 1024 + 1, 'x');
    QByteArray wideRow = "日期,摘要,借方,贷方\n";
    wideRow += QByteArray(4000000, ',') + "\n";
    const std::pair<QByteArray, QString> files[] = {
        {worksheetWithBlanks(farColumns), QStringLiteral("第 1 行第 65536 列超出工作表的 256 列")},
        // Two cells 65,535 rows and 255 columns apart ask for 16 million empty ones between.
        {worksheetWithBlanks({{0, 255}, {65535, 0}}), QStringLiteral("列，远多于文件中的单元格")},
        {wideRow, QStringLiteral("第 2 行有 256 个以上的值")},
        {tooLarge, QStringLiteral("大于 64 MB")},
        // Within the limits but beyond the memory at hand: a message, not an abort.
        {QByteArray(48 << 20, 'x'), QStringLiteral("内存不足，没有完成！")},
    };
    for (const auto& [bytes, message] : files) {
        writeFile(m_file, bytes);
        const toolrun::ToolRun run = importWithinAHundredAndTenMegabytes(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("tallomer-db import: ")) &&
                    run.err.contains(message))
            << run.err.toStdString();
    }

    // What is no file at all: endless zeros, a pipe no one writes to, a folder.
    const QString pipe = m_dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {QStringLiteral("/dev/zero"), pipe, m_dir.path()}) {
        const toolrun::ToolRun run =
            importWithinAHundredAndTenMegabytes({m_book, QStringLiteral("--kind"), QStringLiteral("cash"),
                                           QStringLiteral("--from"), path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err,
                  QStringLiteral("tallomer-db import: %1 不是普通文件，不能导入！\n").arg(path));
    }
    EXPECT_EQ(rows(QStringLiteral("select count(*) from 现金日记帐")),
              QStringList{QStringLiteral("1")});
}
