// The "导出" command of the list windows.

#include "ListWindow.h"

#include "DataGrid.h"
#include "ExportDialog.h"

#include "store/Query.h"

namespace lists {

void ListWindow::exportList() {
    if (!readyToPrintOrExport())
        return;
    store::Query* q = query();
    if (!q || !q->isOpen() || q->isEmpty())
        return;
    exportWithDialog(this, exportName(), [this] { return m_grid->snapshot(); });
}

} // namespace lists
