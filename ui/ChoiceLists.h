#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

namespace ui {

/// A text field with a drop-down list whose items are only suggestions: any
/// typed text stands, nothing is completed or added to the list as typed.
QComboBox* makeEditableChoice(QWidget* parent, const QString& objectName);

/// Replaces a drop-down's items and leaves nothing chosen (and no text in an
/// editable one), as the lists of accounts and years start.
void setChoices(QComboBox* box, const QStringList& items);

} // namespace ui
