#include "OtherDesks.h"

#include "Database.h"
#include "Statement.h"

namespace store {

int otherDesks(Database& db) {
    if (!db.isServer())
        return 0;
    // Every connection of this system names itself "tallomer". A session of
    // another role may hide its name from an unprivileged one: counted too.
    Statement s(db, QStringLiteral("select count(*) from pg_stat_activity "
                                   "where datname = current_database() and pid <> pg_backend_pid() "
                                   "and backend_type = 'client backend' "
                                   "and coalesce(application_name, 'tallomer') = 'tallomer'"));
    s.step();
    return int(s.int64(0));
}

QString otherDesksRefusal(int others, const QString& step) {
    return QStringLiteral("另有 %1 个站点正在使用本帐套，不能%2。请其他站点退出后再试。")
        .arg(others)
        .arg(step);
}

} // namespace store
