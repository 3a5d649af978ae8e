#include "support/TestDatabase.h"

#include "store/AddedTables.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"
#include "store/Schema.h"

#include <gtest/gtest.h>

using testing_support::TestDatabase;

namespace {

int version(store::Database& db) {
    return db.schemaVersion();
}

} // namespace

// A book of an earlier build has no added tables and version 0: it reads as
// sound, and the first opening for work makes them and records the version.
TEST(AddedTables, AnEarlierBookGainsThemAtItsFirstWorkingOpenAndCheckKnowsThem) {
    TestDatabase t;
    EXPECT_EQ(version(t.db()), store::kAddedTablesVersion);
    EXPECT_TRUE(store::schemaProblems(t.db()).isEmpty());

    t.exec(QStringLiteral("drop table 银行对账单"));
    t.exec(QStringLiteral("drop table 银行对账"));
    t.db().setSchemaVersion(0);
    EXPECT_FALSE(store::hasAddedTables(t.db()));
    EXPECT_TRUE(store::schemaProblems(t.db()).isEmpty());
    t.connection().close();

    {
        store::Connection reader;
        reader.setConnectionString(store::ConnectionString::forFile(t.path()));
        reader.openToRead();
        EXPECT_FALSE(store::hasAddedTables(reader.database()));
    }
    t.reopen();
    store::Database& db = t.db();
    EXPECT_TRUE(store::hasAddedTables(db));
    EXPECT_EQ(version(db), store::kAddedTablesVersion);
    EXPECT_TRUE(store::schemaProblems(db).isEmpty());

    db.exec(QStringLiteral("alter table 银行对账单 drop column 流水号"));
    EXPECT_EQ(store::schemaProblems(db),
              QStringList({QStringLiteral("缺少字段 银行对账单.流水号")}));
}
