// tallomer-db search: the search dialog's criteria, checks and messages, and
// the entries of every month as the journal window lists them after a search.

#include "ToolRun.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/NewDatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using toolrun::tool;
using toolrun::ToolRun;

namespace {

class SearchCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        s_book = s_dir->filePath(QStringLiteral("xjrjz.mdb"));
        ASSERT_EQ(tool({QStringLiteral("create"), s_book}).exitCode, 0);
        const auto db = store::openDatabaseFile(s_book, store::standardPassword());
        db->exec(QStringLiteral(
            "insert into 现金日记帐 (日期, 凭证号, 摘要, 属性, 明细, 经办人, 借方, 贷方, 余额, 发票单位, 备注) values "
            "(cdate('2023-5-30'), 'AB12', '销售收入', '增加', '门市', '张伟', 1000000, 0, 1000000, '星海', '甲'),"
            "(cdate('2023-6-2'), '0003', '办公费', '减少', '纸', '王芳', 0, 1000000, -1000000, '明达', '附单据'),"
            "(cdate('2024-1-5'), '0004', '工资', '减少', '一月', '李娜', 0, 120000000, -120000000, null, null),"
            "(cdate('2023-6-1'), '0012', '其他收入', '增加', '现金销售收入', '张伟', 12345000, 0, 12345000, null, null)"));
        db->exec(QStringLiteral(
            "insert into 开户银行 (项目) values ('建设银行一般户');"
            "insert into 银行日记帐 (开户银行, 日期, 凭证号, 摘要, 属性, 借方, 贷方, 余额) values "
            "('工商银行基本户', cdate('2023-6-3'), 'Y1', '销售收入', '增加', 50000, 0, 50000),"
            "('建设银行一般户', cdate('2023-6-3'), 'Y2', '销售收入', '增加', 70000, 0, 70000),"
            "('工商银行基本户', cdate('2022-12-31'), 'Y3', '存入银行', '减少', 0, 20000, -20000)"));
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    static ToolRun search(const QString& kind, const QStringList& criteria) {
        return tool(QStringList{QStringLiteral("search"), s_book, QStringLiteral("--kind"), kind} + criteria);
    }
    /// The voucher numbers of the entries found, in the order they are printed.
    static QStringList vouchers(const ToolRun& run, int column) {
        QStringList found;
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (qsizetype i = 1; i < lines.size(); ++i)
            found << lines[i].split(QLatin1Char('\t')).value(column);
        return found;
    }

    static QTemporaryDir* s_dir;
    static QString s_book;
};

QTemporaryDir* SearchCommand::s_dir = nullptr;
QString SearchCommand::s_book;

const QString kCash = QStringLiteral("cash");
const QString kBank = QStringLiteral("bank");
constexpr int kCashVoucher = 6;

} // namespace

TEST_F(SearchCommand, EachCriterionAloneInItsFirstForm) {
    const struct {
        QStringList args;
        QString criteria;
        QStringList found;
    } cases[] = {
        {{QStringLiteral("--voucher"), QStringLiteral(" ab ")}, QStringLiteral("(凭证号 like '%AB%')"), {QStringLiteral("AB12")}},
        {{QStringLiteral("--summary"), QStringLiteral("销售")}, QStringLiteral("(摘要 like '销售%')"), {QStringLiteral("AB12")}},
        {{QStringLiteral("--detail"), QStringLiteral("销售")}, QStringLiteral("(明细 like '%销售%')"), {QStringLiteral("0012")}},
        {{QStringLiteral("--handler"), QStringLiteral("张")}, QStringLiteral("(经办人 like '%张%')"),
         {QStringLiteral("AB12"), QStringLiteral("0012")}},
        {{QStringLiteral("--note"), QStringLiteral("单据")}, QStringLiteral("(备注 like '%单据%')"), {QStringLiteral("0003")}},
        {{QStringLiteral("--invoice"), QStringLiteral("星")}, QStringLiteral("(发票单位 like '%星%')"), {QStringLiteral("AB12")}},
        {{QStringLiteral("--from"), QStringLiteral("2023-6-1"), QStringLiteral("--to"), QStringLiteral("2023-6-2")},
         // In journal order: the 1 June entry was made after the 2 June one, "日期+编号" puts it last.
         QStringLiteral("(日期 between cdate('2023-6-1') and cdate('2023-6-2'))"), {QStringLiteral("0003"), QStringLiteral("0012")}},
        {{QStringLiteral("--debit"), QStringLiteral("100"), QStringLiteral("100")},
         QStringLiteral("(借方 between ccur('100') and ccur('100'))"), {QStringLiteral("AB12")}},
        {{QStringLiteral("--credit"), QStringLiteral("100"), QStringLiteral("20,000")},
         QStringLiteral("(贷方 between ccur('100') and ccur('20,000'))"), {QStringLiteral("0003"), QStringLiteral("0004")}},
    };
    for (const auto& c : cases) {
        const ToolRun run = search(kCash, c.args);
        EXPECT_EQ(run.exitCode, 0) << c.args.join(QLatin1Char(' ')).toStdString() << run.err.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("查询条件：") + c.criteria + QLatin1Char('\n'));
        EXPECT_EQ(vouchers(run, kCashVoucher), c.found) << c.criteria.toStdString();
    }
}

TEST_F(SearchCommand, PrintsEveryColumnOfTheWindowAsTheGridShowsIt) {
    const ToolRun run = search(kCash, {QStringLiteral("--voucher"), QStringLiteral("0")});
    EXPECT_EQ(run.out, QStringLiteral("日期\t摘要\t明细\t借方(增加)\t贷方(减少)\t余额\t凭证号\t经办人\t发票单位\t备注\n"
                                      "2023-6-2\t办公费\t纸\t0.00\t100.00\t-100.00\t0003\t王芳\t明达\t附单据\n"
                                      "2023-6-1\t其他收入\t现金销售收入\t1,234.50\t0.00\t1,234.50\t0012\t张伟\t\t\n"
                                      "2024-1-5\t工资\t一月\t0.00\t12,000.00\t-12,000.00\t0004\t李娜\t\t\n"));
}

TEST_F(SearchCommand, LaterCriteriaJoinAndTheSummaryThenMatchesAnywhere) {
    EXPECT_EQ(search(kCash, {QStringLiteral("--summary"), QStringLiteral("收入")}).exitCode, 1);
    const ToolRun joined = search(kCash, {QStringLiteral("--voucher"), QStringLiteral("1"), QStringLiteral("--summary"),
                                          QStringLiteral("收入")});
    EXPECT_EQ(joined.err, QStringLiteral("查询条件：(凭证号 like '%1%')and(摘要 like '%收入%')\n"));
    EXPECT_EQ(vouchers(joined, kCashVoucher), (QStringList{QStringLiteral("AB12"), QStringLiteral("0012")}));

    const ToolRun all = search(kCash, {QStringLiteral("--note"), QStringLiteral("甲"), QStringLiteral("--from"),
                                       QStringLiteral("2023-5-1"), QStringLiteral("--to"), QStringLiteral("2023-5-31"),
                                       QStringLiteral("--credit"), QStringLiteral("0"), QStringLiteral("0"),
                                       QStringLiteral("--invoice"), QStringLiteral("星"), QStringLiteral("--debit"),
                                       QStringLiteral("1"), QStringLiteral("1000"), QStringLiteral("--handler"),
                                       QStringLiteral("张"), QStringLiteral("--detail"), QStringLiteral("门"),
                                       QStringLiteral("--summary"), QStringLiteral("销售"), QStringLiteral("--voucher"),
                                       QStringLiteral("b")});
    EXPECT_EQ(all.err, QStringLiteral("查询条件：(凭证号 like '%B%')and(摘要 like '%销售%')and(明细 like '%门%')"
                                      "and(经办人 like '%张%')and(备注 like '%甲%')and(发票单位 like '%星%')"
                                      "and(日期 between cdate('2023-5-1') and cdate('2023-5-31'))"
                                      "and(借方 between ccur('1') and ccur('1000'))"
                                      "and(贷方 between ccur('0') and ccur('0'))\n"));
    EXPECT_EQ(vouchers(all, kCashVoucher), QStringList{QStringLiteral("AB12")});
}

TEST_F(SearchCommand, RangeChecksStopWithTheDialogsMessages) {
    const std::pair<QStringList, QString> cases[] = {
        {{QStringLiteral("--from"), QStringLiteral("2023-6-1")}, QStringLiteral("日期输入错误,请重新输入!")},
        {{QStringLiteral("--to"), QStringLiteral("2023-6-1")}, QStringLiteral("日期输入错误,请重新输入!")},
        {{QStringLiteral("--from"), QStringLiteral("23-6-1"), QStringLiteral("--to"), QStringLiteral("2023-6-1")},
         QStringLiteral("日期输入错误,请重新输入!")},
        {{QStringLiteral("--from"), QStringLiteral("2023-6-2"), QStringLiteral("--to"), QStringLiteral("2023-6-1")},
         QStringLiteral("日期从大于日期到,请重新输入!")},
        {{QStringLiteral("--debit"), QString(), QStringLiteral("100")}, QStringLiteral("借方金额输入错误,请重新输入!")},
        {{QStringLiteral("--debit"), QStringLiteral("200"), QStringLiteral("100")}, QStringLiteral("借方金额输入错误,请重新输入!")},
        {{QStringLiteral("--credit"), QStringLiteral("abc"), QStringLiteral("5")}, QStringLiteral("贷方金额输入错误,请重新输入!")},
        {{}, QStringLiteral("查询条件没有输入,请确认!")},
    };
    for (const auto& [args, message] : cases) {
        const ToolRun run = search(kCash, args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, QStringLiteral("tallomer-db search: ") + message + QLatin1Char('\n'))
            << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST_F(SearchCommand, ABankSearchNeedsItsAccountAndFindsItInEveryMonth) {
    EXPECT_EQ(search(kBank, {QStringLiteral("--voucher"), QStringLiteral("Y")}).err,
              QStringLiteral("tallomer-db search: 请先选择开户银行!\n"));
    EXPECT_EQ(search(kBank, {QStringLiteral("--bank"), QStringLiteral("招商银行")}).exitCode, 2);

    const ToolRun account = search(kBank, {QStringLiteral("--bank"), QStringLiteral("工商银行基本户")});
    EXPECT_EQ(account.err, QStringLiteral("查询条件：(开户银行 = '工商银行基本户')\n"));
    EXPECT_EQ(account.out, QStringLiteral("开户银行\t日期\t凭证号\t摘要\t明细\t借方(增加)\t贷方(减少)\t余额\t经办人\t发票单位\t备注\n"
                                          "工商银行基本户\t2022-12-31\tY3\t存入银行\t\t0.00\t2.00\t-2.00\t\t\t\n"
                                          "工商银行基本户\t2023-6-3\tY1\t销售收入\t\t5.00\t0.00\t5.00\t\t\t\n"));
    const ToolRun joined = search(kBank, {QStringLiteral("--bank"), QStringLiteral("建设银行一般户"),
                                          QStringLiteral("--summary"), QStringLiteral("销售")});
    EXPECT_EQ(joined.err, QStringLiteral("查询条件：(摘要 like '销售%')and(开户银行 = '建设银行一般户')\n"));
    EXPECT_EQ(vouchers(joined, 2), QStringList{QStringLiteral("Y2")});
    EXPECT_EQ(search(kCash, {QStringLiteral("--bank"), QStringLiteral("工商银行基本户")}).exitCode, 2);
}

// Letter case is ignored for every letter, not only a-z: é/É, and the
// full-width Latin letters of Chinese input.
TEST(SearchCommandCase, FindsEveryLetterInEitherCase) {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));
    ASSERT_EQ(tool({QStringLiteral("create"), book}).exitCode, 0);
    store::openDatabaseFile(book, store::standardPassword())
        ->exec(QStringLiteral("insert into 现金日记帐 (日期, 凭证号, 摘要, 备注) values "
                              "(cdate('2023-6-1'), '1', '其他', 'CAFÉ 早餐'),"
                              "(cdate('2023-6-2'), '2', '其他', '刷ｐｏｓ机'),"
                              "(cdate('2023-6-3'), '3', '其他', 'cafe')"));
    const auto found = [&book](const QString& note) {
        const ToolRun run = tool({QStringLiteral("search"), book, QStringLiteral("--kind"),
                                  QStringLiteral("cash"), QStringLiteral("--note"), note});
        QStringList vouchers;
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (qsizetype i = 1; i < lines.size(); ++i)
            vouchers << lines[i].split(QLatin1Char('\t')).value(kCashVoucher);
        return vouchers;
    };
    EXPECT_EQ(found(QStringLiteral("café")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(found(QStringLiteral("ＰＯＳ")), QStringList{QStringLiteral("2")});
}
