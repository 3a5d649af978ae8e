#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace ui {

/// The platform's keyboard input methods: list them, switch one on, switch
/// back to the default. A backend that finds no input-method framework
/// lists nothing and switches nothing.
class InputMethodBackend {
public:
    virtual ~InputMethodBackend() = default;
    /// Names of the installed input methods (not plain keyboard layouts).
    virtual QStringList installed() = 0;
    /// Name of the system's default input method or layout.
    virtual QString defaultName() = 0;
    virtual void activate(const QString& name) = 0;
    virtual void activateDefault() = 0;
};

/// Applies the operator's input method to text fields: when a field that
/// carries a name gets the focus, and the name is not empty and not the
/// default's, the method of that name is switched on (the default when none
/// has that name); when it loses the focus, the default comes back.
class InputMethods {
public:
    /// The backend in use: by default fcitx5 or IBus when one is running,
    /// otherwise one that does nothing. Tests install their own.
    static InputMethodBackend& backend();
    static void setBackend(std::unique_ptr<InputMethodBackend> backend);

    /// Installed input methods, sorted, each once.
    static QStringList installedSorted();

    /// Gives a field the input method to switch to; an empty name switches nothing. A later
    /// name replaces the earlier one, at once if the field has the focus. The field's own
    /// drop-down or menu keeps the method on.
    static void assign(QWidget* field, const QString& name);
    static QString assigned(const QWidget* field);
};

} // namespace ui
