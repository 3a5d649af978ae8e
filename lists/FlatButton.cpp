#include "FlatButton.h"

#include <QToolButton>

namespace lists {

QToolButton* flatButton(QWidget* parent, const QString& objectName, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace lists
