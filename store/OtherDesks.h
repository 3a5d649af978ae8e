#pragma once

#include <QString>

namespace store {

class Database;

/// How many other connections of this system (other desks, tallomer-db runs)
/// are on the same server book now; always 0 for a file book, which one
/// program holds at a time.
int otherDesks(Database& db);

/// Why `step` ("恢复数据", "初始化数据") waits while `others` desks are on the book.
QString otherDesksRefusal(int others, const QString& step);

} // namespace store
