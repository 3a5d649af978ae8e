#include "PrintList.h"

#include "TForm_preview.h"

namespace lists {

void printList(QWidget* listWindow, PrintSetup& setup,
               const std::function<TableSnapshot()>& snapshot) {
    TForm_preview::showDocument(listWindow, setup, snapshot());
}

} // namespace lists
