#include "JournalKind.h"

#include "Schema.h"

namespace store {

QString journalTable(JournalKind kind) {
    return kind == JournalKind::Cash ? table::cashJournal : table::bankJournal;
}

} // namespace store
