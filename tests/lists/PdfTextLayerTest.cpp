#include "lists/PdfTextLayer.h"

#include <QFont>
#include <QRawFont>

#include <gtest/gtest.h>

namespace {

QFont songFace() {
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setPixelSize(16);
    return font;
}

} // namespace

TEST(PdfTextLayer, RadicalsThatShareAGlyphBecomeTheCharacterDrawn) {
    if (QRawFont::fromFont(songFace()).familyName() != QStringLiteral("Noto Serif CJK SC"))
        GTEST_SKIP() << "fonts-noto-cjk is not installed";
    // 金 U+91D1 and 日 U+65E5 share their glyphs with the Kangxi radicals U+2FA6 and U+2F47,
    // 页 U+9875 with the supplement radical U+2EDA.
    const QByteArray cmap = "stream\n/CIDInit /ProcSet findresource begin\nbegincmap\n"
                            "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                            "3 beginbfrange\n<0000> <0000> <0000>\n"
                            "<0001> <0004> [<73B0> <2FA6>\n<2F47> <2EDA>]\n"
                            "<2FA6> <2FA6> <2F47>\n<0005> <0006> <2F47>\nendbfrange\n"
                            "1 beginbfchar\n<2F47> <2FA6>\nendbfchar\n"
                            "endcmap\nendstream\n<2FA6> outside any map\n";
    QByteArray pdf = cmap;
    lists::mendPdfTextLayer(pdf, {songFace()});
    EXPECT_EQ(pdf.size(), cmap.size()) << "offsets of everything after the map stay";
    EXPECT_EQ(pdf, QByteArray("stream\n/CIDInit /ProcSet findresource begin\nbegincmap\n"
                              "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                              "3 beginbfrange\n<0000> <0000> <0000>\n"
                              "<0001> <0004> [<73B0> <91D1>\n<65E5> <9875>]\n"
                              // A source code is a glyph's number, never a character; the first
                              // of a run of several codes would shift the whole run.
                              "<2FA6> <2FA6> <65E5>\n<0005> <0006> <2F47>\nendbfrange\n"
                              "1 beginbfchar\n<2F47> <91D1>\nendbfchar\n"
                              "endcmap\nendstream\n<2FA6> outside any map\n"));
}

TEST(PdfTextLayer, APdfWithoutMapsOrAFaceWithoutSharedGlyphsStaysAsItIs) {
    QByteArray plain = "%PDF-1.4\n<2FA6> <2F47>\n";
    const QByteArray before = plain;
    lists::mendPdfTextLayer(plain, {songFace()});
    EXPECT_EQ(plain, before);
    QByteArray mapped = "begincmap\n1 beginbfchar\n<0001> <2FA6>\nendbfchar\nendcmap\n";
    const QByteArray unchanged = mapped;
    lists::mendPdfTextLayer(mapped, {});
    EXPECT_EQ(mapped, unchanged);
}
