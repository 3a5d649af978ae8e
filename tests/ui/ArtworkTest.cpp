#include "ui/Artwork.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace artwork = ui::artwork;
using artwork::ToolPicture;

namespace {

QSize logicalSize(const QPixmap& pixmap) {
    return pixmap.deviceIndependentSize().toSize();
}

/// True when some pixel differs from the top-left one, so the picture is more than a fill.
bool hasDetail(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    const QRgb corner = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != corner)
                return true;
    return false;
}

/// The column holding the most opaque pixels: an arrowhead's base, away from its tip.
int tallestColumn(const QImage& image) {
    int best = -1;
    int bestCount = 0;
    for (int x = 0; x < image.width(); ++x) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            count += qAlpha(image.pixel(x, y)) > 128;
        if (count > bestCount) {
            best = x;
            bestCount = count;
        }
    }
    return best;
}

const std::vector<ToolPicture> allToolPictures{
    ToolPicture::CashJournal, ToolPicture::CashSummaryStats, ToolPicture::CashMonthStats,
    ToolPicture::BankJournal, ToolPicture::BankSummaryStats, ToolPicture::BankMonthStats,
    ToolPicture::Exit};

} // namespace

TEST(Artwork, ToolPicturesAreDistinctSquareIconsKeptAfterFirstPaint) {
    std::vector<QImage> seen;
    for (const ToolPicture which : allToolPictures) {
        const QPixmap pixmap = artwork::toolPicture(which);
        const int index = static_cast<int>(which);
        EXPECT_EQ(logicalSize(pixmap), QSize(24, 24)) << index;
        EXPECT_TRUE(hasDetail(pixmap)) << index;
        EXPECT_EQ(artwork::toolPicture(which).cacheKey(), pixmap.cacheKey()) << index;
        const QImage image = pixmap.toImage();
        for (const QImage& other : seen)
            EXPECT_NE(image, other) << "picture " << index << " repeats an earlier one";
        seen.push_back(image);
    }
}

TEST(Artwork, ArrowsPointOppositeWaysAtTheirSmallSize) {
    const QPixmap show = artwork::arrowImage(0);
    const QPixmap hide = artwork::arrowImage(1);
    EXPECT_EQ(logicalSize(show), QSize(12, 16));
    EXPECT_EQ(logicalSize(hide), QSize(12, 16));
    ASSERT_TRUE(hasDetail(show));
    ASSERT_TRUE(hasDetail(hide));
    EXPECT_NE(show.toImage(), hide.toImage());
    // Showing hidden columns points right, hiding the rightmost one points left.
    const QImage showImage = show.toImage();
    const QImage hideImage = hide.toImage();
    EXPECT_GE(tallestColumn(showImage), showImage.width() / 2);
    EXPECT_LT(tallestColumn(hideImage), hideImage.width() / 2);
    EXPECT_EQ(artwork::arrowImage(0).cacheKey(), show.cacheKey());
    EXPECT_TRUE(artwork::arrowImage(2).isNull());
    EXPECT_TRUE(artwork::arrowImage(-1).isNull());
}

TEST(Artwork, BackgroundIsPaintedForEachSizeAndReusedForTheSameSize) {
    const QPixmap wide = artwork::background(QSize(1280, 700));
    EXPECT_EQ(logicalSize(wide), QSize(1280, 700));
    EXPECT_TRUE(hasDetail(wide));
    EXPECT_EQ(artwork::background(QSize(1280, 700)).cacheKey(), wide.cacheKey());

    const QPixmap small = artwork::background(QSize(300, 120));
    EXPECT_EQ(logicalSize(small), QSize(300, 120));
    EXPECT_TRUE(hasDetail(small));
    EXPECT_NE(small.cacheKey(), wide.cacheKey());
    // Going back to the first size paints it again rather than returning the small one.
    EXPECT_EQ(logicalSize(artwork::background(QSize(1280, 700))), QSize(1280, 700));

    EXPECT_TRUE(artwork::background(QSize(0, 700)).isNull());
}

TEST(Artwork, LoginAndAboutPicturesAndApplicationIcon) {
    const QPixmap login = artwork::loginPicture();
    EXPECT_EQ(logicalSize(login), QSize(110, 150));
    EXPECT_TRUE(hasDetail(login));
    EXPECT_EQ(artwork::loginPicture().cacheKey(), login.cacheKey());

    const QPixmap about = artwork::aboutPicture();
    EXPECT_EQ(logicalSize(about), QSize(64, 64));
    EXPECT_TRUE(hasDetail(about));

    const QIcon icon = artwork::applicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int extent : {16, 32, 256})
        EXPECT_TRUE(sizes.contains(QSize(extent, extent))) << extent;
    EXPECT_TRUE(hasDetail(icon.pixmap(16, 16)));
}
