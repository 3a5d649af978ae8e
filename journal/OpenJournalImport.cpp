#include "JournalImportCommands.h"

#include "JournalImportWindow.h"

#include "ui/TDm1.h"

namespace journal {

void openJournalImport(QWidget* parent, store::JournalKind kind) {
    JournalImportWindow window(parent, kind);
    window.setAccounts(ui::Dm1->bankAccountNames());
    window.exec();
}

} // namespace journal
