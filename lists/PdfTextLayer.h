#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>

class QString;

namespace lists {

/// The text a PDF viewer copies and searches, mended where Qt's PDF output
/// names a character wrongly. Qt names each glyph by the lowest character
/// that maps to it, and the Noto CJK faces draw the Kangxi and supplement
/// radicals with the glyphs of common characters, so 金 日 方 页 would copy
/// as ⾦ ⽇ ⽅ ⻚. Each such radical in the ToUnicode maps becomes the
/// character that shares its glyph in one of `fonts`. The bytes keep their
/// offsets; a PDF without such maps is left as it is.
void mendPdfTextLayer(QByteArray& pdf, const QList<QFont>& fonts);

} // namespace lists
