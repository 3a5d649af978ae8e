#include "ReconciliationCommands.h"

#include "ReconciliationWindow.h"

#include "ui/TDm1.h"

namespace journal {

void openReconciliation(QWidget* parent) {
    ui::TDm1& dm = *ui::Dm1;
    TForm_yetjb window(parent, dm.bankAccountNames(), dm.login.closingDate.date());
    window.exec();
}

} // namespace journal
