#pragma once

#include <QString>

class QToolButton;
class QWidget;

namespace lists {

/// A command button of a list window's top bar: flat, text only, and never
/// taking the focus (each command has a key instead).
QToolButton* flatButton(QWidget* parent, const QString& objectName, const QString& caption);

} // namespace lists
