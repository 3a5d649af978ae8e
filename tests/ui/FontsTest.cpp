#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

bool installed(const QString& family) {
    return QFontDatabase::families().contains(family);
}

/// The characters of a journal row: Chinese, and the digits and marks of dates and amounts.
const QString kRowText = QStringLiteral("借方增加贷方减少摘要 2026-12-10 -1,859.77 杨军");

} // namespace

TEST(Fonts, SongIsASongFaceAndTheSansNamesASansFaceWithChinese) {
    if (!installed(QStringLiteral("Noto Serif CJK SC")) ||
        !installed(QStringLiteral("Noto Sans CJK SC")))
        GTEST_SKIP() << "fonts-noto-cjk is not installed";
    ui::installFontSubstitutions();
    EXPECT_EQ(QFontInfo(ui::songFont(12)).family(), QStringLiteral("Noto Serif CJK SC"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("SimSun"))).family(),
              QStringLiteral("Noto Serif CJK SC"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS Sans Serif"))).family(),
              QStringLiteral("Noto Sans CJK SC"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(),
              QStringLiteral("Noto Sans CJK SC"));
    // The faces that stand in when the first is missing stay in the list.
    EXPECT_TRUE(QFont::substitutes(QStringLiteral("宋体"))
                    .contains(QStringLiteral("AR PL UMing CN"), Qt::CaseInsensitive))
        << QFont::substitutes(QStringLiteral("宋体")).join(QLatin1Char(',')).toStdString();
}

TEST(Fonts, ALineLeavesRoomAboveAndBelowItsCharactersInEveryFace) {
    int faces = 0;
    for (const QString& family :
         {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
          QStringLiteral("WenQuanYi Zen Hei")}) {
        if (!installed(family))
            continue;
        ++faces;
        for (int pixels : {12, 14, 19}) {
            QFont font(family);
            font.setPixelSize(pixels);
            const QFontMetricsF metrics(font);
            // A grid row is a line and two pixels high; one of them is the grid line below
            // the cell, and the text sits in the middle of the rest.
            const qreal room = std::ceil(ui::textLineHeight(font)) + 1;
            const qreal baseline =
                (room - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
            const QRectF ink = metrics.tightBoundingRect(kRowText).translated(0, baseline);
            const std::string face = family.toStdString() + " " + std::to_string(pixels);
            EXPECT_GE(ink.top(), 1.0) << face;
            EXPECT_LE(ink.bottom(), room - 1.0) << face;
        }
    }
    EXPECT_GT(faces, 0);
}
