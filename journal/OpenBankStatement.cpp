#include "ReconciliationCommands.h"

#include "TForm_yhdzd.h"

#include "ui/TDm1.h"

namespace journal {

void openBankStatement(QWidget* parent) {
    TForm_yhdzd window(parent);
    window.setAccounts(ui::Dm1->bankAccountNames());
    window.exec();
}

} // namespace journal
