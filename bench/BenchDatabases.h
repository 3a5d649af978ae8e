#pragma once

#include "store/Connection.h"
#include "store/DateTime.h"

#include <QString>

#include <memory>

namespace bench {

/// The demo databases the suite runs on: `entries` entries over ten years,
/// `summaries` summaries in the catalogue and five bank accounts, as
/// `tallomer-db demo` makes them. They are kept in TALLOMER_BENCH_DATA
/// (default: bench-data in the working folder) as demo-ENTRIES-SUMMARIESs.mdb;
/// a missing one is made on first use.
QString demoDatabase(int entries, int summaries);

/// The PostgreSQL server the suite runs on instead of files: the key=value
/// connection string in TALLOMER_BENCH_SERVER (its superuser's), or empty.
QString serverForBenchmarks();

/// The demo book of this size: the file of demoDatabase(), or with a server
/// for benchmarks, the connection string of the same demo in a database of
/// its own there (tallomer_demo_ENTRIES_SUMMARIESs), made when missing.
QString demoBook(int entries, int summaries);

/// The folder the demo databases are kept in, made when missing.
QString dataFolder();

/// The program's connection, opened on a demo book (see demoBook()).
std::unique_ptr<store::Connection> openDemo(int entries, int summaries);

/// The closing date stored in the database.
store::DateTime closingDate(store::Connection& connection);

/// The first day of the month with the most cash entries.
QDate fullestCashMonth(store::Connection& connection);

/// The bank account the bank benchmarks read: the catalogue's first.
QString firstBankAccount(store::Connection& connection);

} // namespace bench
