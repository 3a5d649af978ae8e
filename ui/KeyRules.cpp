#include "ui/KeyRules.h"

#include "store/TextFolding.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>

namespace ui {

namespace {

bool isEnter(const QKeyEvent* event, Qt::KeyboardModifiers alsoHeld = Qt::NoModifier) {
    const int key = event->key();
    return (key == Qt::Key_Return || key == Qt::Key_Enter) &&
           (event->modifiers() & ~(Qt::KeypadModifier | alsoHeld)) == Qt::NoModifier;
}

/// In a field Shift+Enter and Ctrl+Enter are Enter: a multi-line field would
/// otherwise take them as a line break.
bool isFieldEnter(const QKeyEvent* event) {
    return isEnter(event, Qt::ShiftModifier | Qt::ControlModifier);
}

/// Runs a field's Enter action. An editable combo box or a date field holds the focus
/// itself and hands keys on to its inner line edit, so filtering the field sees Enter
/// before the line edit acts on it (a combo box would add the typed text to its list).
class EnterRule : public QObject {
public:
    EnterRule(QWidget* field, std::function<void()> action)
        : QObject(field)
        , m_action(std::move(action)) {
        field->installEventFilter(this);
    }

    static EnterRule* of(QWidget* field) {
        for (QObject* child : field->children()) {
            if (auto* rule = dynamic_cast<EnterRule*>(child))
                return rule;
        }
        return nullptr;
    }

    void setAction(std::function<void()> action) { m_action = std::move(action); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Enter belongs to the field, not to a shortcut of the window.
            if (isFieldEnter(static_cast<QKeyEvent*>(event))) {
                event->accept();
                return true;
            }
            return false;
        case QEvent::KeyPress:
            if (!isFieldEnter(static_cast<QKeyEvent*>(event)))
                return false;
            if (m_action) {
                // The action may close the window; work on a copy.
                const std::function<void()> action = m_action;
                action();
            }
            return true;
        default:
            return false;
        }
    }

private:
    std::function<void()> m_action;
};

/// Enter on a focused push or tool button clicks it. Filtering the application sees the key
/// before the button, which ignores it unless it is a dialog's default button, and before the
/// dialog, which would click its default button instead.
bool enterOnFocusedButton(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button || !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button)) ||
        !button->hasFocus() || !isEnter(static_cast<QKeyEvent*>(event)) || EnterRule::of(button))
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // The key belongs to the button, not to a shortcut of the window.
        event->accept();
        return true;
    }
    // Held down, the key clicks once, as Space does.
    if (!static_cast<QKeyEvent*>(event)->isAutoRepeat() && button->isEnabled())
        button->click();
    return true;
}

/// An Alt+letter or Alt+digit that reached a widget: no enabled button's key took it (keys are
/// looked up before the widget sees the press), and a field would type the letter. An open
/// menu keeps it, for its own items' letters.
bool unclaimedAltLetter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        qobject_cast<QMenu*>(watched))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = key->key();
    const bool letterOrDigit =
        (code >= Qt::Key_A && code <= Qt::Key_Z) || (code >= Qt::Key_0 && code <= Qt::Key_9);
    return letterOrDigit &&
           (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::AltModifier;
}

/// The keys that act alike in every window of the program.
class ApplicationKeys : public QObject {
public:
    explicit ApplicationKeys(QObject* application)
        : QObject(application) {
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return enterOnFocusedButton(watched, event) || unclaimedAltLetter(watched, event);
    }
};

/// Turns a-z into A-Z and leaves every other character alone, then lets the validator the
/// field had before judge the result.
class UpperCaseValidator : public QValidator {
public:
    UpperCaseValidator(const QValidator* inner, QObject* parent)
        : QValidator(parent)
        , m_inner(inner) {}

    State validate(QString& input, int& pos) const override {
        input = store::upperCaseLatin(input);
        return m_inner ? m_inner->validate(input, pos) : Acceptable;
    }

    void fixup(QString& input) const override {
        if (m_inner)
            m_inner->fixup(input);
    }

private:
    QPointer<const QValidator> m_inner;
};

} // namespace

void onEnter(QWidget* from, std::function<void()> action) {
    if (EnterRule* rule = EnterRule::of(from))
        rule->setAction(std::move(action));
    else
        new EnterRule(from, std::move(action));
}

void enterMovesTo(QWidget* from, QWidget* to) {
    onEnter(from, [to = QPointer<QWidget>(to)] {
        // Tab's reason, so that a line edit selects its text as on entering it by Tab.
        if (to)
            to->setFocus(Qt::TabFocusReason);
    });
}

void enterClicks(QWidget* from, QAbstractButton* button) {
    onEnter(from, [button = QPointer<QAbstractButton>(button)] {
        if (button)
            button->click();
    });
}

void giveKey(QAbstractButton* button, const QKeySequence& key) {
    button->setShortcut(key);
    const QString hint = button->toolTip().isEmpty() ? button->text() : button->toolTip();
    button->setToolTip(hint + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                       QLatin1Char(')'));
}

void installKeyRules() {
    static QPointer<ApplicationKeys> installed;
    if (!installed)
        installed = new ApplicationKeys(QCoreApplication::instance());
}

void upperCaseInput(QLineEdit* field) {
    const QValidator* current = field->validator();
    if (dynamic_cast<const UpperCaseValidator*>(current))
        return;
    field->setValidator(new UpperCaseValidator(current, field));
}

void maskInput(QLineEdit* field) {
    field->setEchoMode(QLineEdit::Password);
    // The mask character is the style's; the sheet makes it "*" whatever the style.
    field->setStyleSheet(field->styleSheet() +
                         QStringLiteral("\nQLineEdit { lineedit-password-character: 42; }"));
}

void makePasswordField(QLineEdit* field, int maxLength) {
    maskInput(field);
    upperCaseInput(field);
    field->setMaxLength(maxLength);
}

} // namespace ui
