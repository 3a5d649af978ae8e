// tallomer-db reconcile: the statement of a month worked out by hand, on
// standard output, printed to PDF and exported in the five formats, each read
// back with every amount whole; and what it refuses.

#include "ToolRun.h"

#include "lists/GbkText.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "support/ExportReading.h"
#include "support/PdfText.h"
#include "support/ReconciliationMonth.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using toolrun::tool;
using toolrun::ToolRun;

namespace {

// Every amount of the statement of March, as the table shows it.
const char* const kAmounts[] = {"12,434.31", "12,033.37", "45.67",    "1,234.56",
                                "12.30",     "800.25",    "12,467.68"};

class ReconcileCommand : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString m_book = m_dir.filePath(QStringLiteral("xjrjz.mdb"));

    void SetUp() override {
        ASSERT_EQ(tool({QStringLiteral("create"), m_book}).exitCode, 0);
        const auto db = store::openDatabaseFile(m_book, store::standardPassword());
        testing_support::addReconciliationMonth(*db);
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    ToolRun reconcile(const QStringList& more) const {
        return tool(QStringList{QStringLiteral("reconcile"), m_book, QStringLiteral("--bank"),
                                testing_support::kReconciledAccount} +
                    more);
    }
    static QString gbkFile(const QString& file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        return lists::fromGbk(f.readAll()).value_or(QString());
    }
};

TEST_F(ReconcileCommand, WritesTheTableOnStandardOutput) {
    const ToolRun run = reconcile({QStringLiteral("--month"), QStringLiteral("2024-03")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], QStringLiteral("银行存款余额调节表"));
    EXPECT_EQ(lines[1], QStringLiteral("项目\t日期\t金额\t项目\t日期\t金额"));
    EXPECT_EQ(lines[5],
              QStringLiteral("　　利息收入\t2024-3-25\t45.67\t　　销售收入\t2024-3-30\t1,234.56"));
    EXPECT_EQ(lines[8],
              QStringLiteral("调节后的存款余额\t\t12,467.68\t调节后的存款余额\t\t12,467.68"));
    EXPECT_EQ(lines[9], QStringLiteral("调节后的存款余额相符\t\t\t\t\t"));
}

TEST_F(ReconcileCommand, PrintsAndExportsEveryAmountWhole) {
    const ToolRun printed = reconcile({QStringLiteral("--month"), QStringLiteral("2024-03"),
                                       QStringLiteral("--out"), path("march.pdf")});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.out,
              QStringLiteral("已把 工商银行基本户 2024-3-31 的余额调节表打印到 %1，共 1 页。\n"
                             "调节后的存款余额相符\n")
                  .arg(path("march.pdf")));
    const QString text = testing_support::pdfText(path("march.pdf"));
    const QSet<QString> words = testing_support::wordsOf(text);
    EXPECT_TRUE(text.contains(QStringLiteral("银行存款余额调节表")));
    EXPECT_TRUE(text.contains(QStringLiteral("加：企业已收、银行未收")));
    for (const char* amount : kAmounts)
        EXPECT_TRUE(words.contains(QString::fromUtf8(amount))) << amount;

    for (const char* format : {"txt", "csv", "html", "rtf", "xls"}) {
        SCOPED_TRACE(format);
        const QString out = path("march.") + QString::fromUtf8(format);
        const ToolRun run = reconcile({QStringLiteral("--month"), QStringLiteral("2024-03"),
                                       QStringLiteral("--format"), QString::fromUtf8(format),
                                       QStringLiteral("--out"), out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith(QStringLiteral("调节后的存款余额相符\n")));
        if (qstrcmp(format, "xls") == 0)
            continue; // numbers, read below
        QString shown = gbkFile(out);
        if (qstrcmp(format, "rtf") == 0) {
            shown.clear();
            QFile f(out);
            f.open(QIODevice::ReadOnly);
            for (const QList<QByteArray>& row : exportreading::readRtf(f.readAll()).rows)
                for (const QByteArray& cell : row)
                    shown += lists::fromGbk(cell).value_or(QString()) + QLatin1Char('\n');
        }
        for (const char* amount : kAmounts)
            EXPECT_TRUE(shown.contains(QString::fromUtf8(amount))) << amount;
    }

    // The worksheet holds the amounts as numbers; the system's Python has xlrd.
    QProcess python;
    python.start(QFile::exists(QStringLiteral("/usr/bin/python3"))
                     ? QStringLiteral("/usr/bin/python3")
                     : QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, xlrd\n"
                                 "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                 "print(repr(s.cell_value(2, 2)), repr(s.cell_value(7, 5)))"),
                  path("march.xls")});
    ASSERT_TRUE(python.waitForFinished(30000));
    if (python.exitCode() != 0)
        GTEST_SKIP() << "python3-xlrd is not installed (scripts/setup installs it)";
    EXPECT_EQ(python.readAllStandardOutput().trimmed(), QByteArray("12434.31 12467.68"));
}

TEST_F(ReconcileCommand, RefusesWhatItCannotDo) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{QStringLiteral("--month"), QStringLiteral("2024-02")},
         1,
         "tallomer-db reconcile: 开户银行“工商银行基本户”在 2024-2-29 "
         "以前没有银行对账单，请先导入银行对账单！"},
        {{QStringLiteral("--month"), QStringLiteral("2024-13")},
         2,
         "tallomer-db reconcile: --month 要写成 YYYY-MM 形式的月份，不能是“2024-13”"},
        {{QStringLiteral("--format"), QStringLiteral("doc"), QStringLiteral("--out"),
          QStringLiteral("x.doc")},
         2,
         "tallomer-db reconcile: --format 只能是 txt、csv、xls、html、rtf 或 pdf，不能是“doc”"},
        {{QStringLiteral("--format"), QStringLiteral("csv")},
         2,
         "tallomer-db reconcile: 请用 --out 指定要写的文件"},
        {{QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("--out"),
          QStringLiteral("%1-wal")},
         2,
         "tallomer-db reconcile: --out %1-wal 不能是数据库文件 %1 或属于它的文件！"},
    };
    for (const Case& c : cases) {
        QStringList args = c.args;
        args.replaceInStrings(QStringLiteral("%1"), m_book);
        const ToolRun run = reconcile(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << args.join(u' ').toStdString();
        EXPECT_EQ(run.err,
                  QString::fromUtf8(c.message).replace(QStringLiteral("%1"), m_book) + u'\n');
        EXPECT_TRUE(run.out.isEmpty());
    }
    const ToolRun unknown = tool({QStringLiteral("reconcile"), m_book, QStringLiteral("--bank"),
                                  QStringLiteral("农业银行")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, QStringLiteral("tallomer-db reconcile: 没有开户银行“农业银行”\n"));

    // Sums beyond the amount range end with the program's message, not a wrong statement.
    {
        const auto db = store::openDatabaseFile(m_book, store::standardPassword());
        for (int i = 0; i < 3; ++i)
            testing_support::addBankEntry(*db, testing_support::kReconciledAccount,
                                          QDate(2024, 3, 5), QStringLiteral("销售收入"),
                                          qint64(40000000000000000));
    }
    const ToolRun overflow = reconcile({QStringLiteral("--month"), QStringLiteral("2024-03")});
    EXPECT_EQ(overflow.exitCode, 1);
    EXPECT_EQ(overflow.err.toStdString(),
              "tallomer-db reconcile: "
              "金额超出了系统能够计算的范围(绝对值不能超过922,337,203,685,477.5807)\n");
    EXPECT_TRUE(overflow.out.isEmpty());
}

} // namespace
