#include "DatabaseCheck.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Statement.h"

namespace tools {

QStringList checkDatabaseFile(const QString& path, const QString& password) {
    try {
        const auto db = store::openDatabaseFile(path, password);
        QStringList problems = store::schemaProblems(*db);
        store::Statement integrity(*db, QStringLiteral("PRAGMA integrity_check"));
        while (integrity.step()) {
            const QString line = integrity.text(0);
            if (line != QLatin1String("ok"))
                problems << QStringLiteral("integrity: ") + line;
        }
        return problems;
    } catch (const store::EngineError& e) {
        return {e.message()};
    }
}

} // namespace tools
