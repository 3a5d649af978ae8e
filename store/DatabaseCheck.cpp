#include "DatabaseCheck.h"

#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "Schema.h"
#include "Statement.h"

namespace store {

QStringList checkDatabaseFile(const QString& path, const QString& password) {
    try {
        const auto db = openDatabaseFileToRead(path, password);
        QStringList problems = schemaProblems(*db);
        Statement integrity(*db, QStringLiteral("PRAGMA integrity_check"));
        while (integrity.step()) {
            const QString line = integrity.text(0);
            if (line != QLatin1String("ok"))
                problems << QStringLiteral("完整性检查：") + line;
        }
        return problems;
    } catch (const EngineError& e) {
        return {e.message()};
    }
}

} // namespace store
