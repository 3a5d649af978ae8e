#pragma once

#include <QString>

#include <cstdint>

namespace store {
class Connection;
}

namespace tools {

struct DemoOptions {
    int entries = 2000;  // both journals together
    int years = 3;       // ending with the month of the closing date
    int summaries = 0;   // grow the catalogue to this many (0: keep it)
    int bankAccounts = 3;
    std::uint32_t seed = 1;
};

/// Adds reproducible journal entries to a database made by createDatabaseFile:
/// about three in five to the cash journal, the rest spread over the bank
/// accounts, every month of the years covered, then computes the running
/// balances of every month with the journal window's own recomputation.
/// All of it is added, or nothing when it fails or is killed part way.
void addDemoData(store::Connection& connection, const DemoOptions& options);

} // namespace tools
