#pragma once

#include "store/Database.h"

#include <QString>

namespace testing_support {

/// Makes the book refuse, with `message`, every change `event` ("insert", "update of 余额", "delete")
/// to a row of `table` for which `condition` holds (it may name the row as "new"): a failure
/// in the middle of the program's work, on a file book by a trigger, on a server book by a
/// trigger function.
inline void refuseChanges(store::Database& db, const QString& event, const QString& table,
                          const QString& condition, const QString& message) {
    if (!db.isServer()) {
        db.exec(QStringLiteral("create trigger refuse before %1 on %2 when %3 "
                               "begin select raise(abort, '%4'); end")
                    .arg(event, table, condition, message));
        return;
    }
    static int made = 0;
    const QString function = QStringLiteral("refuse_%1").arg(++made);
    db.exec(QStringLiteral("create function %1() returns trigger language plpgsql as "
                           "$f$ begin if %2 then raise exception using errcode = 'check_violation', "
                           "message = '%3'; end if; "
                           "if tg_op = 'DELETE' then return old; end if; return new; end $f$")
                .arg(function, condition, message));
    db.exec(QStringLiteral("create trigger refuse before %1 on %2 for each row execute function %3()")
                .arg(event, table, function));
}

} // namespace testing_support
