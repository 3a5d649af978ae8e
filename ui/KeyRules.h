#pragma once

#include <QString>

#include <functional>

class QAbstractButton;
class QKeySequence;
class QLineEdit;
class QWidget;

namespace ui {

/// Enter (Return or the keypad's Enter) in `from` moves the focus to `to`.
void enterMovesTo(QWidget* from, QWidget* to);
/// Enter in `from` clicks `button`, as the last field of an editing or search window does.
void enterClicks(QWidget* from, QAbstractButton* button);
/// Enter in `from` runs `action`, for the fields whose Enter depends on the row. The key is
/// always consumed, so it never reaches the field or the window's default button. A field
/// has one Enter rule: a later call replaces the earlier one. An open drop-down of a combo
/// box or date field still takes its Enter first, to close itself.
void onEnter(QWidget* from, std::function<void()> action);
/// The program's keys in every window: Enter (Return or the keypad's Enter) clicks the push
/// or tool button that has the focus, as Space does (a button given a rule above keeps its
/// rule); an Alt+letter or Alt+digit that no enabled button claims is dropped, so it never
/// types the letter into a field. Call once, after the application object exists.
void installKeyRules();
/// Gives `button` a key that clicks it, and names the key in its hint ("编辑 (F2)", or the
/// hint it has followed by the key). The caption stays as it is.
void giveKey(QAbstractButton* button, const QKeySequence& key);
/// Latin letters typed into the field arrive in upper case. This works through the
/// field's validator; a validator the field already has keeps checking the result, and
/// one set later replaces this rule.
void upperCaseInput(QLineEdit* field);
/// Shows "*" for each character typed into the field, whatever the style.
void maskInput(QLineEdit* field);
/// A password field: "*" for each character, upper case, at most `maxLength` characters.
void makePasswordField(QLineEdit* field, int maxLength = 32767);

} // namespace ui
