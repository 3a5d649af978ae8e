#include "ReconciliationCommands.h"

#include "TForm_yhdz.h"

#include "ui/TDm1.h"

namespace journal {

void openBankMatching(QWidget* parent) {
    TForm_yhdz window(parent);
    window.setAccounts(ui::Dm1->bankAccountNames());
    window.exec();
}

} // namespace journal
