#pragma once

#include <QAbstractItemView>
#include <QDialog>

#include <functional>

namespace testing_support {

/// Runs `action` on the next modal dialog that opens, from inside its event
/// loop, as a user would act on it. Gives up after five seconds, so that a
/// dialog that never comes fails the test instead of hanging it, and when
/// the test that asked has ended. A key clicks its button a moment later, so
/// the window that took the key is still the modal one for a while: `over`
/// names it, to wait for the dialog that opens over it.
void onNextModal(std::function<void(QDialog*)> action, const QWidget* over = nullptr);

/// The widget with the keyboard focus. When a modal dialog closed over
/// another, a desktop makes the one below active again; the offscreen
/// platform may leave no window active, so this does what the desktop does.
QWidget* focusedWidget();

/// Double-clicks a row of an item view as a user does: QTest's widget double
/// click alone sends no press first, which item views need.
void doubleClickRow(QAbstractItemView* view, int row, int column = 0);

/// Clicks a row of an item view and lets what the click started settle.
void clickRow(QAbstractItemView* view, int row, int column = 0);

/// Finds a child by object name, failing loudly when it is missing.
template <typename T>
T* child(QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

} // namespace testing_support
