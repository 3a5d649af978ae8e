#pragma once

#include <QFont>

namespace ui {

/// Maps the font names the windows ask for (宋体, MS Sans Serif, Arial) to
/// faces installed here. Call once at start-up, before any window is made.
void installFontSubstitutions();

/// 宋体 at a pixel size, as the grids, banners and labels use it.
QFont songFont(int pixelSize, bool bold = false);

} // namespace ui
