#include "ui/InputMethods.h"

#include "ui/InputMethodBackends.h"

#include <QApplication>
#include <QWidget>

namespace ui {

namespace {

std::unique_ptr<InputMethodBackend>& backendSlot() {
    static std::unique_ptr<InputMethodBackend> backend;
    return backend;
}

/// Switches a field's input method on while the field has the focus.
class InputMethodSwitch : public QObject {
public:
    explicit InputMethodSwitch(QWidget* field)
        : QObject(field)
        , m_field(field) {
        field->installEventFilter(this);
    }

    // A field can go away while its own drop-down holds the focus, so no focus-out
    // comes; the keyboard must not stay switched.
    ~InputMethodSwitch() override { switchOff(); }

    static InputMethodSwitch* of(const QWidget* field) {
        for (QObject* child : field->children()) {
            if (auto* found = dynamic_cast<InputMethodSwitch*>(child))
                return found;
        }
        return nullptr;
    }

    const QString& name() const { return m_name; }

    void setName(const QString& name) {
        if (name == m_name)
            return;
        // The field being typed in follows the new name at once.
        const bool focused = m_field->hasFocus();
        if (focused)
            switchOff();
        m_name = name;
        if (focused)
            switchOn();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::FocusIn:
            switchOn();
            break;
        case QEvent::FocusOut:
            // The field's own drop-down or menu is still part of typing into it.
            if (!ownsActivePopup())
                switchOff();
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool ownsActivePopup() const {
        for (QObject* o = QApplication::activePopupWidget(); o; o = o->parent()) {
            if (o == m_field)
                return true;
        }
        return false;
    }

    void switchOn() {
        if (m_name.isEmpty() || m_switched)
            return;
        InputMethodBackend& backend = InputMethods::backend();
        if (m_name == backend.defaultName())
            return;
        if (backend.installed().contains(m_name)) {
            backend.activate(m_name);
            m_switched = true;
        } else {
            backend.activateDefault();
        }
    }

    void switchOff() {
        if (!m_switched)
            return;
        m_switched = false;
        InputMethods::backend().activateDefault();
    }

    QWidget* m_field;
    QString m_name;
    bool m_switched = false;
};

} // namespace

InputMethodBackend& InputMethods::backend() {
    std::unique_ptr<InputMethodBackend>& backend = backendSlot();
    if (!backend)
        backend = detectInputMethodBackend();
    return *backend;
}

void InputMethods::setBackend(std::unique_ptr<InputMethodBackend> backend) {
    backendSlot() = std::move(backend);
}

QStringList InputMethods::installedSorted() {
    QStringList names = backend().installed();
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    return names;
}

void InputMethods::assign(QWidget* field, const QString& name) {
    InputMethodSwitch* methodSwitch = InputMethodSwitch::of(field);
    if (!methodSwitch) {
        if (name.isEmpty())
            return;
        methodSwitch = new InputMethodSwitch(field);
    }
    methodSwitch->setName(name);
}

QString InputMethods::assigned(const QWidget* field) {
    const InputMethodSwitch* methodSwitch = InputMethodSwitch::of(field);
    return methodSwitch ? methodSwitch->name() : QString();
}

} // namespace ui
