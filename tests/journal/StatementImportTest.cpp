// Bank statements coming in as online banking and spreadsheets save them:
// the direction of 借方/贷方 read from the balance, the checks that keep a
// whole file out, and a second import adding nothing.

#include "journal/StatementImport.h"
#include "support/FileContents.h"
#include "support/TestData.h"
#include "support/TestDatabase.h"

#include "lists/GbkText.h"
#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QFile>

#include <gtest/gtest.h>

using testing_support::dataFile;

namespace {

const QString kAccount = QStringLiteral("工商银行基本户");

class StatementImport : public ::testing::Test {
protected:
    testing_support::TestDatabase book;

    journal::StatementImportResult import(const QString& path, bool dryRun = false) {
        journal::StatementImportOptions options;
        options.account = kAccount;
        options.operatorName = QStringLiteral("出纳甲");
        options.sourceFile = path.section(QLatin1Char('/'), -1);
        options.dryRun = dryRun;
        return journal::importStatement(book.db(), lists::readImportFile(path), options);
    }
    QString write(const char* name, const QString& text) {
        return testing_support::writtenFile(book.folder(), name, text);
    }
    /// The stored lines in the order they were stored:
    /// day|text|in|out|balance|reference|counterparty|line.
    QStringList stored() {
        QStringList lines;
        store::Statement s(book.db(),
                           QStringLiteral("select 日期, 摘要, 收入, 支出, 余额, 流水号, 对方户名, "
                                          "来源行 from 银行对账单 order by 编号"));
        while (s.step()) {
            const auto amount = [&](int c) {
                return s.isNull(c) ? QStringLiteral("-")
                                   : store::Currency::fromRaw(s.int64(c)).toString();
            };
            lines << QStringList{store::DateTime::fromSerial(s.real(0)).toShortDateString(),
                                 s.text(1),
                                 amount(2),
                                 amount(3),
                                 amount(4),
                                 s.text(5),
                                 s.text(6),
                                 s.text(7)}
                         .join(QLatin1Char('|'));
        }
        return lines;
    }
    int count() { return book.scalar(QStringLiteral("select count(*) from 银行对账单")).toInt(); }
};

const QStringList kBankSenseLines = {
    QStringLiteral("2026-12-1|货款|12000|0|62000|HX20261201001|华兴商贸有限公司|5"),
    QStringLiteral("2026-12-2|转账支取|0|3500|58500|HD20261202007|宏达物流有限公司|6"),
    QStringLiteral("2026-12-3|手续费|0|15.5|58484.5|FE20261203001||7"),
    QStringLiteral("2026-12-5|货款|8800.88|0|67285.38|YD20261205012|远东电子科技有限公司|8"),
    QStringLiteral("2026-12-8|代发工资|0|21000|46285.38|PY20261208001||9"),
    QStringLiteral("2026-12-15|利息|12.34|0|46297.72|IN20261215001||10"),
    QStringLiteral("2026-12-20|电费|0|1234.56|45063.16|EL20261220003|国网电力公司|11"),
    QStringLiteral("2026-12-31|结息|0.05|0|45063.21|IN20261231001||12"),
};

} // namespace

TEST_F(StatementImport, TheBanksDebitAndCreditComeInByTheBalanceOnceFromEveryFormat) {
    const journal::StatementImportResult first = import(dataFile("statement-bank-sense.xls"));
    EXPECT_TRUE(first.refused.isEmpty()) << first.refused.value(0).reason.toStdString();
    EXPECT_EQ(first.lines, 8);
    EXPECT_EQ(first.added, 8);
    EXPECT_EQ(first.alreadyThere, 0);
    EXPECT_TRUE(first.written);
    EXPECT_EQ(first.first, QDate(2026, 12, 1));
    EXPECT_EQ(first.last, QDate(2026, 12, 31));
    EXPECT_EQ(stored(), kBankSenseLines);
    EXPECT_EQ(book.scalar(QStringLiteral(
                              "select count(*) from 银行对账单 where 开户银行 = '工商银行基本户' "
                              "and 操作员 = '出纳甲' and 来源文件 = 'statement-bank-sense.xls' "
                              "and 操作日期 > 40000"))
                  .toInt(),
              8);

    // The same statement again, in each of the forms it was saved in: nothing new.
    for (const char* again :
         {"statement-bank-sense.xls", "statement-bank-sense.xlsx", "statement-bank-sense.csv"}) {
        SCOPED_TRACE(again);
        const journal::StatementImportResult second = import(dataFile(again));
        EXPECT_TRUE(second.refused.isEmpty());
        EXPECT_EQ(second.added, 0);
        EXPECT_EQ(second.alreadyThere, 8);
    }
    EXPECT_EQ(count(), 8);
}

TEST_F(StatementImport, GbkTextWithHeaderLinesAndTheDatesAndAmountsBanksWrite) {
    const journal::StatementImportResult dry = import(dataFile("statement-gbk.csv"), true);
    EXPECT_EQ(dry.added, 5);
    EXPECT_FALSE(dry.written);
    EXPECT_EQ(count(), 0);

    const journal::StatementImportResult result = import(dataFile("statement-gbk.csv"));
    EXPECT_TRUE(result.refused.isEmpty()) << result.refused.value(0).reason.toStdString();
    EXPECT_EQ(
        stored(),
        QStringList({
            QStringLiteral("2026-12-1|货款|12000|0|62000|HX20261201001|华兴商贸有限公司|5"),
            QStringLiteral("2026-12-2|转账支取|0|3500|58500|HD20261202007|宏达物流有限公司|6"),
            QStringLiteral("2026-12-3|手续费|0|15.5|58484.5|FE20261203001||7"),
            QStringLiteral(
                "2026-12-5|货款|8800.88|0|67285.38|YD20261205012|远东电子科技有限公司|8"),
            QStringLiteral("2026-12-8|代发工资|0|21000|46285.38|PY20261208001||9"),
        }));
}

TEST_F(StatementImport, DebitAsMoneyInNewestFirstIsReadFromTheBalanceInTimeOrder) {
    // 借方 here is money in, as a journal keeps it; the lines come newest first,
    // two on one day; a totals row closes the table.
    const QString path =
        write("book-sense.txt", QStringLiteral("记账日期\t用途\t借方\t贷方\t余额\t凭证号\n"
                                               "2026/12/09\t退款\t\t200\t1,300.00\tV3\n"
                                               "2026/12/09\t收款\t500\t\t1,500.00\tV2\n"
                                               "2026/12/01\t收款\t1000\t\t1,000.00\tV1\n"
                                               "合计\t\t1500\t200\t\t\n"));
    const journal::StatementImportResult result = import(path);
    ASSERT_TRUE(result.refused.isEmpty()) << result.refused.value(0).reason.toStdString();
    EXPECT_EQ(result.added, 3);
    EXPECT_EQ(stored(), QStringList({QStringLiteral("2026-12-1|收款|1000|0|1000|V1||4"),
                                     QStringLiteral("2026-12-9|收款|500|0|1500|V2||3"),
                                     QStringLiteral("2026-12-9|退款|0|200|1300|V3||2")}));
}

TEST_F(StatementImport, ABalanceThatDoesNotFollowKeepsTheFileOutAtItsLine) {
    const QString path =
        write("broken.csv", QStringLiteral("交易日期,摘要,借方发生额,贷方发生额,余额\n"
                                           "2026-12-01,货款,,100.00,1100.00\n"
                                           "2026-12-02,手续费,1.00,,1099.00\n"
                                           "2026-12-03,货款,,50.00,1159.00\n"
                                           "2026-12-04,手续费,2.00,,1157.00\n"));
    const journal::StatementImportResult result = import(path);
    ASSERT_EQ(result.refused.size(), 1);
    EXPECT_EQ(result.refused[0].line, 4);
    EXPECT_EQ(result.refused[0].text, QStringLiteral("2026-12-03,货款,,50.00,1159.00"));
    EXPECT_TRUE(result.refused[0].reason.contains(QStringLiteral("余额")))
        << result.refused[0].reason.toStdString();
    EXPECT_FALSE(result.written);
    EXPECT_EQ(count(), 0);
}

TEST_F(StatementImport, EveryBadLineIsReportedAndNothingIsWritten) {
    import(dataFile("statement-bank-sense.csv"));
    const QString path =
        write("bad.csv", QStringLiteral("交易日期,摘要,收入金额,支出金额,余额,流水号\n"
                                        "2027-01-04,货款,100.00,,,A1\n"
                                        "2027-13-01,货款,100.00,,,A2\n"
                                        "27-01-05,货款,100.00,,,A3\n"
                                        ",货款,100.00,,,A4\n"
                                        "2027-01-06,货款,100.00,5.00,,A5\n"
                                        "2027-01-07,货款,,,,A6\n"
                                        "2027-01-08,货款,1.23456,,,A7\n"
                                        "2027-01-09,货款,壹佰元,,,A8\n"
                                        "2027-01-10,货款,,99999999999999999,,A9\n"
                                        "说明：以下为手工补录\n"));
    const journal::StatementImportResult result = import(path);
    QStringList lines;
    for (const journal::RefusedStatementLine& refused : result.refused)
        lines << QStringLiteral("%1 %2").arg(refused.line).arg(refused.reason);
    ASSERT_EQ(lines.size(), 8) << lines.join(QLatin1Char('\n')).toStdString();
    const int expectedLines[] = {3, 4, 5, 6, 7, 8, 9, 10};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(result.refused[i].line, expectedLines[i]) << lines[i].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("2027-13-01")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("没有日期")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("只能有一个")));
    EXPECT_TRUE(lines[4].contains(QStringLiteral("没有金额")));
    EXPECT_TRUE(lines[5].contains(QStringLiteral("四位小数")));
    EXPECT_TRUE(lines[6].contains(QStringLiteral("壹佰元")));
    EXPECT_TRUE(lines[7].contains(QStringLiteral("超出")));
    EXPECT_EQ(result.refused[0].text, QStringLiteral("2027-13-01,货款,100.00,,,A2"));
    EXPECT_FALSE(result.written);
    EXPECT_EQ(stored(), kBankSenseLines) << "what the book held stays as it was";
}

TEST_F(StatementImport, ASignedAmountColumnAndTwinLinesOfOneDay) {
    // Two fees alike on one day, with no balance or reference to tell them
    // apart, are two lines; brought in again, they are both there already.
    const QString titles =
        QChar(0xFEFF) + QStringLiteral("交易时间;交易摘要;交易金额(元);对方账户名称\n");
    journal::StatementImportResult result = import(write(
        "decimal-comma.csv", titles + QStringLiteral("2026-12-01 08:15:00;转入;\"+1.234,00\";\n")));
    ASSERT_EQ(result.refused.size(), 1);
    EXPECT_EQ(result.refused[0].line, 2) << "1.234,00 is no amount";
    const QString path =
        write("signed.csv", titles + QStringLiteral("2026-12-01 08:15:00;转入;+1234.00;甲公司\n"
                                                    "2026-12-02 10:00:00;短信费;-2.00;\n"
                                                    "2026-12-02 10:00:00;短信费;-2.00;\n"
                                                    "2026-12-03T09:00:00;取现;¥-500.00;\n"));
    result = import(path);
    ASSERT_TRUE(result.refused.isEmpty()) << result.refused.value(0).reason.toStdString();
    EXPECT_EQ(result.added, 4);
    EXPECT_EQ(stored(), QStringList({QStringLiteral("2026-12-1|转入|1234|0|-||甲公司|2"),
                                     QStringLiteral("2026-12-2|短信费|0|2|-|||3"),
                                     QStringLiteral("2026-12-2|短信费|0|2|-|||4"),
                                     QStringLiteral("2026-12-3|取现|0|500|-|||5")}));
    result = import(path);
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.alreadyThere, 4);
    EXPECT_EQ(count(), 4);
}

TEST_F(StatementImport, AFileWithoutAStatementsTitleRowIsRefused) {
    const QString path =
        write("journal.csv", QStringLiteral("日期,摘要,借方(增加)\n2026-12-1,货款,10\n"));
    try {
        import(path);
        FAIL() << "no refusal";
    } catch (const lists::ImportFileError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("标题行"))) << e.message().toStdString();
    }
    EXPECT_EQ(count(), 0);
}
