// The "打印" command of the list windows.

#include "ListWindow.h"

namespace lists {

void ListWindow::printList() {}

} // namespace lists
