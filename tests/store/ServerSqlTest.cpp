// A book on a PostgreSQL server answers the windows' SQL as a file book does:
// cdate/ccur read the same texts with the same messages, text compares and
// matches ignoring case, sorts in pinyin order, and a summary prefix is a
// range of the summary's index. Needs a server: TALLOMER_TEST_SERVER holds a
// connection string whose user may create databases.

#include "support/QtPrinting.h"
#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include "store/AddedTables.h"
#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/EngineError.h"
#include "store/EngineSql.h"
#include "store/Schema.h"
#include "store/ServerSql.h"
#include "store/TextFolding.h"

#include <QCoreApplication>
#include <QMap>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <memory>

using testing_support::TestDatabase;

namespace {

using Rows = QList<QStringList>;

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

/// A fresh database on the test server, set up as `create` sets up a book,
/// and dropped again at the end.
class ServerBook {
public:
    explicit ServerBook(const QString& server)
        : m_server(server.toUtf8()) {
        static int made = 0;
        m_name = QStringLiteral("tallomer_sql_%1_%2")
                     .arg(QCoreApplication::applicationPid())
                     .arg(++made)
                     .toUtf8();
        PGconn* admin = connect(m_server, nullptr);
        exec(admin, "DROP DATABASE IF EXISTS " + m_name);
        exec(admin,
             "CREATE DATABASE " + m_name + " TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C.UTF-8'");
        PQfinish(admin);
        m_conn = connect(m_server, m_name.constData());
        for (const QString& statement : store::server::setupStatements())
            exec(m_conn, statement.toUtf8());
        for (const store::TableDef& table : store::schemaTables()) {
            const bool scratch =
                table.name == store::table::scratch || table.name == store::table::chart;
            exec(m_conn, (scratch ? store::server::createTemporaryTableSql(table)
                                  : store::server::createTableSql(table))
                             .toUtf8());
        }
        for (const store::TableDef& table : store::addedTables())
            exec(m_conn, store::server::createTableSql(table).toUtf8());
        for (const QString& index : store::indexStatements() + store::addedIndexStatements())
            exec(m_conn, index.toUtf8());
    }
    ~ServerBook() {
        PQfinish(m_conn);
        PGconn* admin = connect(m_server, nullptr);
        exec(admin, "DROP DATABASE IF EXISTS " + m_name);
        PQfinish(admin);
    }

    /// The rows of a statement, texts as the server writes them; a failure
    /// is a failed test.
    Rows rows(const QString& sql, const QStringList& parameters = {}) {
        Result r = run(sql, parameters);
        Rows out;
        const ExecStatusType status = PQresultStatus(r.get());
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            ADD_FAILURE() << sql.toStdString() << ": " << PQresultErrorMessage(r.get());
            return out;
        }
        for (int row = 0; row < PQntuples(r.get()); ++row) {
            QStringList values;
            for (int column = 0; column < PQnfields(r.get()); ++column)
                values << (PQgetisnull(r.get(), row, column)
                               ? QString()
                               : QString::fromUtf8(PQgetvalue(r.get(), row, column)));
            out << values;
        }
        return out;
    }
    QString value(const QString& sql, const QStringList& parameters = {}) {
        const Rows r = rows(sql, parameters);
        return r.isEmpty() ? QStringLiteral("(no row)") : r.first().value(0);
    }
    /// The server's message when the statement fails, empty when it succeeds.
    QString error(const QString& sql, const QStringList& parameters = {}) {
        Result r = run(sql, parameters);
        if (PQresultStatus(r.get()) != PGRES_FATAL_ERROR)
            return QString();
        return QString::fromUtf8(PQresultErrorField(r.get(), PG_DIAG_MESSAGE_PRIMARY));
    }

private:
    static PGconn* connect(const QByteArray& server, const char* database) {
        const char* keys[] = {"dbname", database ? "dbname" : nullptr, nullptr};
        const char* values[] = {server.constData(), database, nullptr};
        PGconn* c = PQconnectdbParams(keys, values, 1);
        if (PQstatus(c) != CONNECTION_OK)
            throw std::runtime_error(std::string("no connection: ") + PQerrorMessage(c));
        PQsetNoticeProcessor(
            c, [](void*, const char*) {}, nullptr);
        return c;
    }
    static void exec(PGconn* c, const QByteArray& sql) {
        Result r(PQexec(c, sql.constData()));
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            throw std::runtime_error(sql.toStdString() + ": " + PQresultErrorMessage(r.get()));
    }
    Result run(const QString& sql, const QStringList& parameters) {
        QList<QByteArray> utf8;
        for (const QString& p : parameters)
            utf8 << p.toUtf8();
        QList<const char*> pointers;
        for (const QByteArray& p : utf8)
            pointers << p.constData();
        return Result(PQexecParams(m_conn, sql.toUtf8().constData(), int(pointers.size()), nullptr,
                                   pointers.constData(), nullptr, nullptr, 0));
    }

    QByteArray m_server;
    QByteArray m_name;
    PGconn* m_conn = nullptr;
};

class ServerSql : public testing::Test {
protected:
    void SetUp() override {
        const QString server = qEnvironmentVariable("TALLOMER_TEST_SERVER");
        if (server.isEmpty())
            GTEST_FAIL() << "TALLOMER_TEST_SERVER is not set: these tests need the connection "
                            "string of a PostgreSQL server whose user may create databases";
        m_book = std::make_unique<ServerBook>(server);
    }
    ServerBook& book() { return *m_book; }

private:
    std::unique_ptr<ServerBook> m_book;
};

// The value a file book's statement gives, as text.
QString fileBookValue(TestDatabase& t, const QString& sql) {
    try {
        const QVariant v = t.scalar(sql);
        return v.isNull() ? QString() : v.toString();
    } catch (const store::EngineError&) {
        return QStringLiteral("error");
    }
}

} // namespace

TEST_F(ServerSql, DatesAndAmountsReadAsTheFileBookReadsThem) {
    const QStringList dates = {
        QStringLiteral("2005-3-1"),
        QStringLiteral("2005/03/01"),
        QStringLiteral(" 2005-3-1\t"),
        QStringLiteral("2005-3-1 13:45"),
        QStringLiteral("2005-3-1  7:05:59"),
        QStringLiteral("1899-12-30"),
        QStringLiteral("1899-12-29 18:00"),
        QStringLiteral("1-1-1 0:0:1"),
        QStringLiteral("9999-12-31 23:59:59"),
        QStringLiteral("2004-2-29"),
        QStringLiteral("2005-2-29"),
        QStringLiteral("2005-13-1"),
        QStringLiteral("2005-4-31"),
        QStringLiteral("2005-3-1 24:00"),
        QStringLiteral("2005-3-1 12:60"),
        QStringLiteral("2005-3-1 1:2:60"),
        QStringLiteral("2005-3/1"),
        QStringLiteral("0-1-1"),
        QStringLiteral("12345-1-1"),
        QStringLiteral("20050301"),
        QStringLiteral("2005-3-1 12"),
        QStringLiteral(""),
        QStringLiteral("今天"),
        QStringLiteral("２００５-3-1"),
        QStringLiteral("\u30002005-3-1"),
        QStringLiteral("2005-3-1 1:2:3:4"),
    };
    for (const QString& text : dates) {
        SCOPED_TRACE(text.toStdString());
        if (const auto date = store::DateTime::parse(text))
            EXPECT_EQ(book().value(QStringLiteral("select cdate($1)"), {text}).toDouble(),
                      date->serial());
        else
            EXPECT_EQ(book().error(QStringLiteral("select cdate($1)"), {text}),
                      QStringLiteral("数据类型不匹配：“%1”不是日期").arg(text));
    }

    const QStringList amounts = {
        QStringLiteral("0"),
        QStringLiteral("1,234.5"),
        QStringLiteral("-1,234,567.56789"),
        QStringLiteral("+.5"),
        QStringLiteral("12."),
        QStringLiteral(" 12 "),
        QStringLiteral("\u300012\u00A0"),
        QStringLiteral("0.00005"),
        QStringLiteral("0.000049999"),
        QStringLiteral("-0.00005"),
        QStringLiteral("0000000000000000000000000001"),
        QStringLiteral("922337203685477.5807"),
        QStringLiteral("922337203685477.58069"),
        QStringLiteral("922337203685477.5808"),
        QStringLiteral("-922337203685477.5808"),
        QStringLiteral("-922337203685477.58085"),
        QStringLiteral("99999999999999999999999"),
        QStringLiteral("99999999999999999999999x"),
        QStringLiteral("."),
        QStringLiteral("-"),
        QStringLiteral(""),
        QStringLiteral("1,50"),
        QStringLiteral("1,5000"),
        QStringLiteral(",100"),
        QStringLiteral("1,,000"),
        QStringLiteral("1e5"),
        QStringLiteral("１２"),
        QStringLiteral("12 元"),
        QStringLiteral("--1"),
    };
    for (const QString& text : amounts) {
        SCOPED_TRACE(text.toStdString());
        try {
            if (const auto amount = store::Currency::parse(text))
                EXPECT_EQ(book().value(QStringLiteral("select ccur($1)"), {text}).toLongLong(),
                          amount->raw());
            else
                EXPECT_EQ(book().error(QStringLiteral("select ccur($1)"), {text}),
                          QStringLiteral("数据类型不匹配：“%1”不是金额").arg(text));
        } catch (const store::CurrencyOverflow&) {
            EXPECT_EQ(book().error(QStringLiteral("select ccur($1)"), {text}),
                      QStringLiteral("金额数值溢出：“%1”").arg(text));
        }
    }

    // Numbers, nulls and ifnull, against what a file book's statement gives.
    TestDatabase file;
    const QStringList expressions = {
        QStringLiteral("cdate(38000)"),
        QStringLiteral("cdate(38000.75)"),
        QStringLiteral("cdate(null)"),
        QStringLiteral("ccur(null)"),
        QStringLiteral("ccur(12)"),
        QStringLiteral("ccur(-922337203685477)"),
        QStringLiteral("ccur(1.23456)"),
        QStringLiteral("ccur(0.00025)"),
        QStringLiteral("ccur(-0.00025)"),
        QStringLiteral("ccur(2.5e-4)"),
        QStringLiteral("ccur(123456789.12345)"),
        QStringLiteral("ccur(9.1e14)"),
        QStringLiteral("ifnull(null, 3)"),
        QStringLiteral("ifnull('甲', '乙')"),
        QStringLiteral("ifnull(null, ccur('1.5'))"),
    };
    for (const QString& e : expressions) {
        SCOPED_TRACE(e.toStdString());
        EXPECT_EQ(book().value(QStringLiteral("select ") + e).toDouble(),
                  fileBookValue(file, QStringLiteral("select ") + e).toDouble());
        EXPECT_EQ(book().value(QStringLiteral("select ") + e).isNull(),
                  fileBookValue(file, QStringLiteral("select ") + e).isNull());
    }
    for (const QString& e :
         {QStringLiteral("ccur(922337203685478)"), QStringLiteral("ccur(-922337203685478)"),
          QStringLiteral("ccur(9.2e14)"), QStringLiteral("ccur(1e300)"),
          QStringLiteral("ccur(-1e300)")}) {
        SCOPED_TRACE(e.toStdString());
        EXPECT_EQ(fileBookValue(file, QStringLiteral("select ") + e), QStringLiteral("error"));
        EXPECT_EQ(book().error(QStringLiteral("select ") + e), QStringLiteral("金额数值溢出"));
    }
}

TEST_F(ServerSql, TablesHaveTheFileBooksColumnsAndARowIdOfTheirOwn) {
    const Rows types = book().rows(QStringLiteral(
        "select format_type(atttypid, atttypmod) from pg_attribute "
        "where attrelid = '现金日记帐'::regclass and attname in ('编号', '日期', '摘要', '借方') "
        "order by attnum"));
    EXPECT_EQ(types, (Rows{{QStringLiteral("bigint")},
                           {QStringLiteral("datetime")},
                           {QStringLiteral("citext")},
                           {QStringLiteral("currency")}}));

    // With a counter the row id is the counter; without one, a number of its own.
    EXPECT_EQ(book().rows(QStringLiteral("insert into 摘要 (摘要) values ('现金'), ('银行') "
                                         "returning 代码, _rowid")),
              (Rows{{QStringLiteral("1"), QStringLiteral("1")},
                    {QStringLiteral("2"), QStringLiteral("2")}}));
    book().rows(QStringLiteral("insert into 摘要 (代码, 摘要) values (10, '其他')"));
    EXPECT_EQ(book().value(QStringLiteral("select _rowid from 摘要 where 摘要 = '其他'")),
              QStringLiteral("10"));
    EXPECT_EQ(book().rows(QStringLiteral("insert into 开户银行 (项目) values ('工行'), ('农行') "
                                         "returning _rowid")),
              (Rows{{QStringLiteral("1")}, {QStringLiteral("2")}}));

    // The windows' own statements: dates and amounts in, the journal order out.
    book().rows(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 贷方) values "
                               "(cdate('2005-3-2'), '乙', ccur('1,234.5'), 0), (cdate('2005-3-1 "
                               "8:00'), '甲', 0, ccur(2))"));
    EXPECT_EQ(book().rows(QStringLiteral(
                  "select 摘要, ifnull(借方, 0) - 贷方 from 现金日记帐 where (日期 between "
                  "cdate('2005-3-1 0:0:0') and cdate('2005-3-2 23:59:59')) order by 日期+编号")),
              (Rows{{QStringLiteral("乙"), QStringLiteral("12345000")},
                    {QStringLiteral("甲"), QStringLiteral("-20000")}}));
    // The connection's own tables, one named as the file book names them.
    book().rows(QStringLiteral("insert into 通用 (摘要, 现金增加) values ('临时', ccur(3))"));
    book().rows(store::server::createTableSql(
        {QStringLiteral("temp.资金日报表"),
         {{QStringLiteral("账户"), store::ColumnType::Text},
          {QStringLiteral("本日收入"), store::ColumnType::Currency}}}));
    book().rows(QStringLiteral("insert into pg_temp.资金日报表 values ('现金', 5)"));
    EXPECT_EQ(book().rows(QStringLiteral("select relname from pg_class where relpersistence = 't' "
                                         "and relkind = 'r' order by relname")),
              (Rows{{QStringLiteral("图形显示")},
                    {QStringLiteral("资金日报表")},
                    {QStringLiteral("通用")}}));
}

// Texts of every kind: Latin with accents, full-width, Greek, Cyrillic, the
// Kelvin sign, Chinese names.
const QStringList kTexts = {
    QStringLiteral("CAFÉ"),        QStringLiteral("cafe"),       QStringLiteral("Café 早餐"),
    QStringLiteral("ｐｏｓ 收款"), QStringLiteral("ＰＯＳ退款"), QStringLiteral("pos"),
    QStringLiteral("ΑΘΗΝΑ"),       QStringLiteral("Москва"),     QStringLiteral("ĀB"),
    QStringLiteral("āc"),          QStringLiteral("Ăd"),         QStringLiteral("k1"),
    QStringLiteral("\u212A2"),     QStringLiteral("Ｚ"),         QStringLiteral("ｚｚ"),
    QStringLiteral("张三"),        QStringLiteral("李四"),       QStringLiteral("王五"),
    QStringLiteral("阿姨"),        QStringLiteral("银行存款"),   QStringLiteral("现金"),
    QStringLiteral("1号"),         QStringLiteral("-"),          QStringLiteral("B2"),
    QStringLiteral("b1"),          QStringLiteral("张a"),        QStringLiteral("张B"),
    QStringLiteral("µ1"),          QStringLiteral("μ2"),         QStringLiteral("ſa"),
    QStringLiteral("ža"),
};

TEST_F(ServerSql, TextComparesMatchesAndSortsAsInTheFileBook) {
    SKIP_FOR_SERVER_BOOK("compares a server book with a file book made here");
    TestDatabase file;
    for (int i = 0; i < kTexts.size(); ++i) {
        const QString insert = QStringLiteral("insert into 现金日记帐 (编号, 日期, 摘要, 借方) "
                                              "values (%1, %1, '%2', %1)")
                                   .arg(i + 1)
                                   .arg(kTexts[i]);
        file.exec(insert);
        book().rows(insert);
    }
    const auto numbers = [](const QString& where) {
        return QStringLiteral("select string_agg(编号::text, ',' order by 编号) from 现金日记帐 "
                              "where ") +
               where;
    };
    const auto fileNumbers = [&file](const QString& where) {
        return file
            .scalar(QStringLiteral("select group_concat(编号) from (select 编号 from 现金日记帐 "
                                   "where %1 order by 编号)")
                        .arg(where))
            .toString();
    };
    const QStringList wheres = {
        QStringLiteral("摘要 = 'café'"),        QStringLiteral("摘要 = 'αθηνα'"),
        QStringLiteral("摘要 = 'ＰＯＳ'"),      QStringLiteral("摘要 = 'POS'"),
        QStringLiteral("摘要 like '%ＰＯＳ%'"), QStringLiteral("摘要 like '%москва'"),
        QStringLiteral("摘要 like 'caf_'"),     QStringLiteral("摘要 like 'caf_ 早%'"),
        QStringLiteral("摘要 like '%张%'"),     QStringLiteral("摘要 > '张'"),
    };
    for (const QString& where : wheres) {
        SCOPED_TRACE(where.toStdString());
        EXPECT_EQ(book().value(numbers(where)), fileNumbers(where));
    }

    // A prefix becomes a range of folded texts: the same rows as the LIKE.
    for (const QString& prefix : {QStringLiteral("Ā"), QStringLiteral("ā"), QStringLiteral("K"),
                                  QStringLiteral("Ｚ"), QStringLiteral("ｐｏｓ"),
                                  QStringLiteral("张"), QStringLiteral("b"), QStringLiteral("C")}) {
        SCOPED_TRACE(prefix.toStdString());
        const QString like = QStringLiteral("(摘要 like '%1%')").arg(prefix);
        const QString range = store::engineSql(like, true);
        ASSERT_NE(range, like);
        EXPECT_EQ(book().value(numbers(range)), book().value(numbers(like)));
        EXPECT_EQ(book().value(numbers(range)), fileNumbers(like));
    }
    // The server lowers a few letters otherwise than the file book folds them
    // (µ is no μ there, ſ no s): the statement keeps its LIKE where a range
    // would find other rows than the server's LIKE.
    for (const QString& prefix : {QStringLiteral("µ"), QStringLiteral("μ"), QStringLiteral("ſ"),
                                  QStringLiteral("s"), QStringLiteral("ž")}) {
        SCOPED_TRACE(prefix.toStdString());
        const QString like = QStringLiteral("(摘要 like '%1%')").arg(prefix);
        EXPECT_EQ(book().value(numbers(store::engineSql(like, true))), book().value(numbers(like)));
    }
    // ... that the summary's index answers.
    book().rows(QStringLiteral("set enable_seqscan = off"));
    const Rows plan = book().rows(
        QStringLiteral("explain ") +
        store::engineSql(QStringLiteral("select sum(借方) as jf,sum(贷方) as df from 现金日记帐 "
                                        "where (日期 between cdate('2005-1-1') and "
                                        "cdate('2005-12-31'))and(摘要 like 'ＰＯＳ%')"),
                         true));
    QStringList lines;
    for (const QStringList& row : plan)
        lines << row.value(0);
    EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("现金日记帐_摘要")))
        << lines.join(QLatin1Char('\n')).toStdString();

    // One order, but for texts that differ first in letter case and later
    // in a Han character against another one ("a张", "Ab"): the file book
    // then puts the Han character first, the server always last.
    EXPECT_EQ(book()
                  .value(QStringLiteral("select string_agg(摘要::text, '|' order by 摘要 "
                                        "collate pinyin) from 现金日记帐"))
                  .toStdString(),
              file.scalar(QStringLiteral("select group_concat(摘要, '|') from (select 摘要 from "
                                         "现金日记帐 order by 摘要 collate pinyin)"))
                  .toString()
                  .toStdString());
}

// citext lowers with the C.UTF-8 locale; the file book folds with Qt's
// tables. The two agree for every letter but those lowersAsFolded() names,
// where equality and LIKE differ between the two kinds of book and a prefix
// keeps its LIKE.
TEST_F(ServerSql, TheServerLowersEveryLetterAsTheFileBookFoldsItButAKnownFew) {
    QMap<uint, uint> server;
    const Rows lowered = book().rows(
        QStringLiteral(
            "select c, ascii(lower(chr(c) collate %1)) from generate_series(1, 1114111) c "
            "where (c < 55296 or c > 57343) and lower(chr(c) collate %1) <> chr(c)")
            .arg(QLatin1String(store::server::kTextCollation)));
    for (const QStringList& row : lowered)
        server.insert(row.value(0).toUInt(), row.value(1).toUInt());
    QStringList unexpected;
    int known = 0;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const bool differs = server.value(uint(c), uint(c)) != uint(store::foldedCase(c));
        known += differs ? 1 : 0;
        if (differs == store::lowersAsFolded(c))
            unexpected << QString::number(uint(c), 16);
    }
    EXPECT_EQ(unexpected.join(QLatin1Char(' ')).toStdString(), "");
    EXPECT_EQ(known, 195);
}
