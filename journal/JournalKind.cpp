#include "JournalKind.h"

#include "store/BookkeepingPeriod.h"
#include "store/Schema.h"
#include "store/SqlText.h"

namespace journal {

QStringList monthQuery(JournalKind kind, const store::BookkeepingPeriod& period,
                       const QString& bankAccount) {
    QString where = QStringLiteral("where ");
    if (kind == JournalKind::Bank)
        where += store::sql::equals(QStringLiteral("开户银行"), bankAccount) + QStringLiteral("and");
    where += period.clause();
    return {QStringLiteral("select * from ") + journalTable(kind), where, store::sql::journalOrder};
}

} // namespace journal
