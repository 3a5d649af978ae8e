#pragma once

namespace store {

class Database;

/// How many other connections of this system (other desks, tallomer-db runs)
/// are on the same server book now; always 0 for a file book, which one
/// program holds at a time.
int otherDesks(Database& db);

} // namespace store
