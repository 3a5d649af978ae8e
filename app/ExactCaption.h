#pragma once

class QString;
class QWidget;

namespace app {

/// Shows `caption` in the title bar of a window that is on screen exactly as given. On X11
/// Qt shows the application's name in place of an empty title; an empty 系统标题 leaves the
/// title bar of the main window empty, so there the empty name is written to the window
/// itself.
void setExactCaption(QWidget* window, const QString& caption);

} // namespace app
