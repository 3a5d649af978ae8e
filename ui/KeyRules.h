#pragma once

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace ui {

/// Enter (Return or the keypad's Enter) in `from` moves the focus to `to`.
void enterMovesTo(QWidget* from, QWidget* to);
/// Enter in `from` clicks `button`, as the last field of an editing or search window does.
void enterClicks(QWidget* from, QAbstractButton* button);
/// Latin letters typed into the field arrive in upper case.
void upperCaseInput(QLineEdit* field);
/// A password field: "*" for each character, upper case, at most `maxLength` characters.
void makePasswordField(QLineEdit* field, int maxLength = 32767);

} // namespace ui
