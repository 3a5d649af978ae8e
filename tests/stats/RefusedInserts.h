#pragma once

#include "store/Database.h"

#include <QString>

/// Makes the book refuse, with `message`, every insert into `table` for which `condition`
/// holds (it may name the new row as "new"): a failure in the middle of a fill. On a server
/// book the table is the connection's own, and so is the function its trigger runs.
inline void refuseInserts(store::Database& db, const QString& table, const QString& condition,
                          const QString& message) {
    if (!db.isServer()) {
        db.exec(QStringLiteral("create trigger refuse before insert on %1 when %2 "
                               "begin select raise(abort, '%3'); end")
                    .arg(table, condition, message));
        return;
    }
    db.exec(QStringLiteral("create function pg_temp.refuse() returns trigger language plpgsql as "
                           "$f$ begin if %1 then raise exception '%2'; end if; return new; end $f$")
                .arg(condition, message));
    db.exec(QStringLiteral("create trigger refuse before insert on %1 for each row "
                           "execute function pg_temp.refuse()")
                .arg(table));
}
