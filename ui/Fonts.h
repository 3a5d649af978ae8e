#pragma once

#include <QFont>

namespace ui {

/// Maps the font names the windows ask for (宋体, MS Sans Serif, Arial) to
/// faces installed here: 宋体 to a Song face whose Latin letters and digits
/// are drawn in the same hand, the two sans names to a sans face that also
/// has the Chinese characters. Further faces stand in when one is missing.
/// Call once at start-up, before any window is made.
void installFontSubstitutions();

/// 宋体 at a pixel size, as the grids, banners and labels use it.
QFont songFont(int pixelSize, bool bold = false);

/// The height one line of text takes in a grid row or a printed cell: the
/// line the face declares, but at least 1.3 em, so that a face whose lines
/// are only as high as its characters still keeps them off the grid lines.
qreal textLineHeight(const QFont& font);

} // namespace ui
