#include "ChoiceLists.h"

#include <QComboBox>

namespace ui {

QComboBox* makeEditableChoice(QWidget* parent, const QString& objectName) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMinimumWidth(180);
    return box;
}

void setChoices(QComboBox* box, const QStringList& items) {
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    if (box->isEditable())
        box->clearEditText();
}

} // namespace ui
