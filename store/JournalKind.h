#pragma once

#include <QString>

namespace store {

/// The two day books: cash, and bank whose entries belong to one account each.
enum class JournalKind { Cash, Bank };

/// 现金日记帐 or 银行日记帐.
QString journalTable(JournalKind kind);

} // namespace store
