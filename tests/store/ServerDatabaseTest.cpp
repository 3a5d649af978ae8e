#include "support/TestServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using testing_support::ServerDatabase;
using testing_support::ServerSession;
using testing_support::withDatabaseName;

namespace {

QString databasesNamed(const QString& name) {
    return ServerSession(testing_support::serverAdminConnection())
        .scalar(QStringLiteral("select count(*) from pg_database where datname = '%1'").arg(name));
}

} // namespace

TEST(ServerDatabase, IsAnEmptyUtf8DatabaseThatTakesATable) {
    ServerDatabase db;
    ServerSession s(db.connectionString());
    EXPECT_EQ(s.scalar(QStringLiteral("select current_database()")), db.name());
    EXPECT_EQ(s.scalar(QStringLiteral("select count(*) from pg_class where relnamespace = "
                                      "'public'::regnamespace")),
              QStringLiteral("0"));
    EXPECT_EQ(s.scalar(QStringLiteral("select pg_encoding_to_char(encoding) || ' ' || datcollate "
                                      "from pg_database where datname = current_database()")),
              QStringLiteral("UTF8 C.UTF-8"));
    s.exec(QStringLiteral("create table 摘要 (摘要 text)"));
    s.exec(QStringLiteral("insert into 摘要 values ('提现金')"));
    EXPECT_EQ(s.scalar(QStringLiteral("select 摘要 from 摘要")), QStringLiteral("提现金"));
}

TEST(ServerDatabase, TwoMadeAtOnceAreApartAndEachGoesWithItsOwner) {
    QString firstName;
    std::unique_ptr<ServerSession> stillOnFirst;
    {
        ServerDatabase first;
        ServerDatabase second;
        firstName = first.name();
        EXPECT_NE(first.name(), second.name());
        stillOnFirst = std::make_unique<ServerSession>(first.connectionString());
        stillOnFirst->exec(QStringLiteral("create table only_in_first (x int)"));
        EXPECT_EQ(ServerSession(second.connectionString())
                      .scalar(QStringLiteral("select to_regclass('only_in_first')::text")),
                  QString());
    }
    EXPECT_EQ(databasesNamed(firstName), QStringLiteral("0"));
    EXPECT_THROW(stillOnFirst->exec(QStringLiteral("select 1")), std::runtime_error);
}

TEST(ServerDatabase, WithoutAServerFailsSayingHowToStartOne) {
    const bool wasSet = qEnvironmentVariableIsSet("TALLOMER_TEST_SERVER");
    const QByteArray server = qgetenv("TALLOMER_TEST_SERVER");
    qunsetenv("TALLOMER_TEST_SERVER");
    try {
        ServerDatabase db;
        ADD_FAILURE() << "made a database without a server";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "TALLOMER_TEST_SERVER is not set: scripts/test starts a PostgreSQL "
                               "server for the server runs of the tests; start one with "
                               "scripts/test-server start DIR and export its line");
    }
    if (wasSet)
        qputenv("TALLOMER_TEST_SERVER", server);
}

TEST(ServerDatabase, ConnectionStringNamesTheDatabaseInKeyValueForm) {
    EXPECT_EQ(
        withDatabaseName(QStringLiteral("host=/tmp/pg port=5499 user=postgres dbname=postgres"),
                         QStringLiteral("t_1_1_0a")),
        QStringLiteral("user=postgres host=/tmp/pg port=5499 dbname=t_1_1_0a"));
    EXPECT_EQ(withDatabaseName(QStringLiteral("postgresql://desk@%2Ftmp%2Fmy%20pg:5499/postgres"),
                               QStringLiteral("t_2")),
              QStringLiteral("user=desk host='/tmp/my pg' port=5499 dbname=t_2"));
    EXPECT_THROW(withDatabaseName(QStringLiteral("host='/tmp"), QStringLiteral("t_3")),
                 std::runtime_error);
}
