#include "FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace app {

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget* widget, std::function<void()> then)
        : QObject(widget)
        , m_then(std::move(then)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, parent(), std::move(m_then));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

void afterFirstPaint(QWidget* widget, std::function<void()> then) {
    new FirstPaintWatch(widget, std::move(then));
}

} // namespace app
