#pragma once

#include "PrintSetup.h"
#include "TableSnapshot.h"

#include <functional>

class QWidget;

namespace lists {

/// The "打印" command's last step: lays out the rows the snapshot holds with
/// the list window's print setup and shows them in the print preview, which
/// stays open when this returns. `setup` must live as long as `listWindow`.
void printList(QWidget* listWindow, PrintSetup& setup,
               const std::function<TableSnapshot()>& snapshot);

} // namespace lists
