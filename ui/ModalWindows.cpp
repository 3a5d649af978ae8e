#include "ui/ModalWindows.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace ui {

namespace {

/// Puts a modal window back on the screen whenever anything minimises it: a title-bar
/// button the window manager draws although the window asks for none (its hints carry no
/// minimise function), a keyboard binding of the desktop, or the program itself.
class ModalWindowRules : public QObject {
public:
    explicit ModalWindowRules(QObject* application)
        : QObject(application) {
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowStateChange)
            return false;
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow() && window->isModal() &&
            (window->windowState() & Qt::WindowMinimized))
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        return false;
    }
};

} // namespace

void installModalWindowRules() {
    static QPointer<ModalWindowRules> installed;
    if (!installed)
        installed = new ModalWindowRules(QCoreApplication::instance());
}

} // namespace ui
