// The "打印" command of the list windows.

#include "ListWindow.h"

#include "DataGrid.h"
#include "PrintList.h"
#include "PrintSetup.h"

#include "store/Query.h"
#include "ui/TDm1.h"

#include <QCheckBox>
#include <QDateTime>

namespace lists {

void ListWindow::printList() {
    if (!readyToPrintOrExport())
        return;
    store::Query* q = query();
    if (!q || !q->isOpen() || q->isEmpty())
        return;
    PrintSetup& setup = printSetup();
    setup.headerCentre = {printTitle()};
    // The printed grid has no two-colour rows; the box is checked again
    // afterwards whatever it was before.
    if (m_dichromatic)
        m_dichromatic->setChecked(false);
    setStandardSubstitutions(setup, ui::Dm1 ? ui::Dm1->login.operatorName : QString(),
                             QDateTime::currentDateTime());
    lists::printList(this, setup, [this] { return m_grid->snapshot(); });
    if (m_dichromatic)
        m_dichromatic->setChecked(true);
}

} // namespace lists
