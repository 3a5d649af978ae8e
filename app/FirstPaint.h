#pragma once

#include <functional>

class QWidget;

namespace app {

/// Runs `then` once, from the event loop just after `widget` has been painted
/// for the first time, so that what it shows is on the screen by then.
void afterFirstPaint(QWidget* widget, std::function<void()> then);

} // namespace app
