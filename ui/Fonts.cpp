#include "Fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>

namespace ui {

void installFontSubstitutions() {
    // Noto Serif CJK SC is a Song face with proportional Latin letters and
    // lining digits; AR PL UMing's Latin letters and digits are typewriter-like.
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("AR PL UMing TW"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    // The sans names also print Chinese (the time of printing, the operator).
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("WenQuanYi Zen Hei")});
}

QFont songFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

qreal textLineHeight(const QFont& font) {
    const int em = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    return std::max(QFontMetricsF(font).height(), 1.3 * em);
}

} // namespace ui
