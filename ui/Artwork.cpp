#include "ui/Artwork.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace ui::artwork {
namespace {

/// One palette for every picture: ink and paper for the ledger, amber for cash, blue for the
/// bank, teal and a muted warm red as accents.
namespace colour {
const QColor ink(0x24, 0x37, 0x4e);
const QColor paper(0xfc, 0xf9, 0xf1);
const QColor paperShade(0xe6, 0xde, 0xc9);
const QColor rule(0x8f, 0xaa, 0xc2);
const QColor navy(0x1f, 0x3a, 0x5f);
const QColor teal(0x2a, 0x7f, 0x7a);
const QColor tealDark(0x1b, 0x55, 0x53);
const QColor accent(0xc2, 0x55, 0x3a);
const QColor accentDark(0x8a, 0x35, 0x22);
const QColor leather(0xa8, 0x6a, 0x2a); // the cover of a cash ledger
const QColor leatherDark(0x5e, 0x38, 0x12);
} // namespace colour

/// The colours that tell a cash picture from a bank picture.
struct Tint {
    QColor light;
    QColor fill;
    QColor dark;
    QColor mark; // a sign drawn on the fill
};

const Tint cashTint{QColor(0xf7, 0xd4, 0x74), QColor(0xdc, 0x9c, 0x2c), QColor(0x86, 0x56, 0x12),
                    QColor(0x6a, 0x40, 0x0a)};
const Tint bankTint{QColor(0x82, 0xb2, 0xe0), QColor(0x2f, 0x6b, 0xa8), QColor(0x1a, 0x3e, 0x68),
                    Qt::white};

qreal screenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPen outline(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

/// Paints `paint(painter)` in device-independent coordinates on a transparent pixmap of
/// `logical` size at the screen's pixel ratio.
template <typename Paint> QPixmap paintPicture(const QSize& logical, Paint&& paint) {
    const qreal ratio = screenRatio();
    QPixmap pixmap(logical * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap;
}

/// Punches a transparent margin around a shape about to be drawn over others, so that
/// overlapping parts of a small icon stay apart without a halo colour that would clash with
/// whatever the tool bar's background is.
void clearAround(QPainter& p, const QPainterPath& shape, qreal margin) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(QPen(Qt::black, 2 * margin, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(shape);
    p.restore();
}

QLinearGradient verticalGradient(const QRectF& box, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

/// An open ledger, drawn into `box` from a 20 x 15 design; `stroke` is the outline width in
/// the painter's own units, so large copies keep fine lines.
void drawLedger(QPainter& p, const QRectF& box, const QColor& cover, const QColor& coverDark,
                qreal stroke, bool ruled) {
    p.save();
    p.translate(box.topLeft());
    const qreal sx = box.width() / 20.0;
    const qreal sy = box.height() / 15.0;
    p.scale(sx, sy);
    const qreal w = stroke / ((sx + sy) / 2);

    QPainterPath coverPath;
    coverPath.moveTo(0, 2.6);
    coverPath.lineTo(0, 13.6);
    coverPath.quadTo(5, 13.4, 10, 15);
    coverPath.quadTo(15, 13.4, 20, 13.6);
    coverPath.lineTo(20, 2.6);
    coverPath.closeSubpath();
    p.setPen(outline(coverDark, w));
    p.setBrush(verticalGradient(QRectF(0, 2, 20, 13), cover.lighter(112), cover));
    p.drawPath(coverPath);

    for (const int side : {-1, 1}) {
        const auto x = [side](qreal dx) { return 10 + side * dx; };
        QPainterPath page;
        page.moveTo(x(0), 2.2);
        page.quadTo(x(4.5), 0.2, x(9), 1.2);
        page.lineTo(x(9), 12.6);
        page.quadTo(x(4.5), 11.8, x(0), 13.8);
        page.closeSubpath();
        QLinearGradient shade(x(0), 0, x(9), 0);
        shade.setColorAt(0, colour::paperShade);
        shade.setColorAt(0.35, colour::paper);
        shade.setColorAt(1, colour::paper);
        p.setPen(outline(colour::ink, w));
        p.setBrush(shade);
        p.drawPath(page);

        if (ruled) {
            p.setPen(outline(colour::rule, w));
            for (int i = 1; i <= 3; ++i) {
                const qreal dy = 2.8 * i;
                QPainterPath line;
                line.moveTo(x(1.6), 2.0 + dy - 0.6);
                line.quadTo(x(4.6), 0.6 + dy, x(7.6), 1.3 + dy);
                p.setBrush(Qt::NoBrush);
                p.drawPath(line);
            }
        }
    }
    p.restore();
}

/// A gold coin marked with the yuan sign.
void drawCoin(QPainter& p, const QPointF& centre, qreal radius, qreal stroke, qreal gap) {
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    if (gap > 0)
        clearAround(p, disc, gap);

    QRadialGradient shine(centre + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.4);
    shine.setColorAt(0, cashTint.light.lighter(108));
    shine.setColorAt(0.55, cashTint.fill.lighter(105));
    shine.setColorAt(1, cashTint.fill.darker(108));
    p.setPen(outline(cashTint.dark, stroke));
    p.setBrush(shine);
    p.drawPath(disc);

    const qreal r = radius * 0.5;
    QPainterPath sign;
    sign.moveTo(centre + QPointF(-r * 0.9, -r * 1.05));
    sign.lineTo(centre + QPointF(0, -r * 0.05));
    sign.lineTo(centre + QPointF(r * 0.9, -r * 1.05));
    sign.moveTo(centre + QPointF(0, -r * 0.05));
    sign.lineTo(centre + QPointF(0, r * 1.15));
    sign.moveTo(centre + QPointF(-r * 0.75, r * 0.25));
    sign.lineTo(centre + QPointF(r * 0.75, r * 0.25));
    p.setPen(outline(cashTint.dark, stroke * (radius < 7 ? 1.1 : 1.6)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sign);
}

/// A bank building (pediment, columns, steps) drawn into `box` from a 12 x 12 design.
void drawBank(QPainter& p, const QRectF& box, qreal gap) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 12.0, box.height() / 12.0);

    QPainterPath silhouette;
    silhouette.moveTo(0, 4.4);
    silhouette.lineTo(6, 0.5);
    silhouette.lineTo(12, 4.4);
    silhouette.lineTo(12, 12);
    silhouette.lineTo(0, 12);
    silhouette.closeSubpath();
    if (gap > 0)
        clearAround(p, silhouette, gap);

    QPainterPath roof;
    roof.moveTo(0, 4.5);
    roof.lineTo(6, 0.5);
    roof.lineTo(12, 4.5);
    roof.closeSubpath();
    roof.addRect(QRectF(0.8, 4.5, 10.4, 1.4));
    roof.setFillRule(Qt::WindingFill);
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(QRectF(0, 0, 12, 6), bankTint.light, bankTint.fill));
    p.drawPath(roof.simplified());
    p.setPen(outline(bankTint.dark, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roof.simplified());

    p.setBrush(QColor(0xe9, 0xf0, 0xf7));
    for (const qreal x : {1.6, 5.2, 8.8})
        p.drawRect(QRectF(x, 5.9, 1.6, 4.1));
    p.setBrush(bankTint.fill);
    p.drawRect(QRectF(0.5, 10.0, 11.0, 1.6));
    p.restore();
}

/// A sheet listing rows, the picture of statistics by summary.
void drawList(QPainter& p, const Tint& tint) {
    QPainterPath sheet;
    sheet.moveTo(3.5, 1.5);
    sheet.lineTo(14.5, 1.5);
    sheet.lineTo(18.5, 5.5);
    sheet.lineTo(18.5, 21.5);
    sheet.lineTo(3.5, 21.5);
    sheet.closeSubpath();
    p.setPen(outline(colour::ink, 1.0));
    p.setBrush(colour::paper);
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(14.5, 1.5);
    fold.lineTo(14.5, 5.5);
    fold.lineTo(18.5, 5.5);
    p.setBrush(colour::paperShade);
    p.drawPath(fold);

    for (int i = 0; i < 4; ++i) {
        const qreal y = 7.5 + 3 * i;
        p.setPen(Qt::NoPen);
        p.setBrush(tint.fill);
        p.drawRect(QRectF(5.5, y - 1, 2, 2));
        p.setPen(outline(colour::rule.darker(115), 1.0));
        p.drawLine(QPointF(9, y), QPointF(i % 2 ? 13.5 : 16, y));
    }
}

/// A round badge carrying a summation sign.
void drawSigmaBadge(QPainter& p, const QPointF& centre, qreal radius, const Tint& tint) {
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    clearAround(p, disc, 1.0);
    QRadialGradient shine(centre + QPointF(-radius * 0.3, -radius * 0.4), radius * 1.4);
    shine.setColorAt(0, tint.light);
    shine.setColorAt(1, tint.fill);
    p.setPen(outline(tint.dark, 1.0));
    p.setBrush(shine);
    p.drawPath(disc);

    const qreal h = radius * 0.52;
    QPainterPath sigma;
    sigma.moveTo(centre + QPointF(h * 0.95, -h));
    sigma.lineTo(centre + QPointF(-h * 0.85, -h));
    sigma.lineTo(centre + QPointF(h * 0.25, 0));
    sigma.lineTo(centre + QPointF(-h * 0.85, h));
    sigma.lineTo(centre + QPointF(h * 0.95, h));
    p.setPen(QPen(tint.mark, 1.4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sigma);
}

/// A desk calendar page with bars in front, the picture of statistics by month.
void drawMonthChart(QPainter& p, const Tint& tint) {
    const QRectF page(1.5, 2.5, 14, 13);
    p.setPen(outline(colour::ink, 1.0));
    p.setBrush(colour::paper);
    p.drawRect(page);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::accent);
    p.drawRect(QRectF(2, 3, 13, 3));
    p.setPen(outline(colour::ink, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(page);
    p.setPen(outline(colour::ink, 1.2));
    p.drawLine(QPointF(5, 1), QPointF(5, 4));
    p.drawLine(QPointF(12, 1), QPointF(12, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(colour::rule);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 4; ++col) {
            if (row == 1 && col > 1)
                continue; // the bars cover the rest
            p.drawRect(QRectF(3.5 + 3 * col, 8 + 3 * row, 1.6, 1.6));
        }
    }

    const std::array<std::pair<qreal, qreal>, 3> bars{{{9, 14}, {13.5, 9.5}, {18, 5.5}}};
    QPainterPath chart;
    for (const auto& [x, top] : bars)
        chart.addRect(QRectF(x, top, 4, 21.5 - top));
    chart.addRect(QRectF(7.5, 21, 16, 1.5));
    clearAround(p, chart.simplified(), 1.0);
    for (const auto& [x, top] : bars) {
        const QRectF bar(x + 0.5, top + 0.5, 3, 21 - top);
        p.setPen(outline(tint.dark, 1.0));
        p.setBrush(verticalGradient(bar, tint.light, tint.fill));
        p.drawRect(bar);
    }
    p.setPen(outline(colour::ink, 1.0));
    p.drawLine(QPointF(7.5, 21.5), QPointF(23, 21.5));
}

/// An open door with an arrow leading out.
void drawExit(QPainter& p) {
    const QRectF frame(3.5, 2.5, 11, 19);
    p.setPen(outline(colour::ink, 1.0));
    p.setBrush(verticalGradient(frame, colour::navy, colour::navy.darker(130)));
    p.drawRect(frame);
    // Light spilling through the doorway.
    QPainterPath spill;
    spill.moveTo(9.5, 3);
    spill.lineTo(14, 3);
    spill.lineTo(14, 21);
    spill.lineTo(9.5, 21);
    spill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf6, 0xe7, 0xb8, 170));
    p.drawPath(spill);

    QPainterPath leaf;
    leaf.moveTo(3.5, 2.5);
    leaf.lineTo(10, 0.8);
    leaf.lineTo(10, 23.2);
    leaf.lineTo(3.5, 21.5);
    leaf.closeSubpath();
    p.setPen(outline(colour::tealDark, 1.0));
    QLinearGradient wood(3.5, 0, 10, 0);
    wood.setColorAt(0, colour::teal.darker(115));
    wood.setColorAt(1, colour::teal.lighter(120));
    p.setBrush(wood);
    p.drawPath(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(cashTint.light);
    p.drawEllipse(QPointF(8.3, 12.3), 1.1, 1.1);

    QPainterPath arrow;
    arrow.moveTo(11, 10.5);
    arrow.lineTo(17, 10.5);
    arrow.lineTo(17, 7);
    arrow.lineTo(23, 12);
    arrow.lineTo(17, 17);
    arrow.lineTo(17, 13.5);
    arrow.lineTo(11, 13.5);
    arrow.closeSubpath();
    clearAround(p, arrow, 1.0);
    p.setPen(outline(colour::accentDark, 1.0));
    p.setBrush(verticalGradient(QRectF(0, 7, 1, 10), colour::accent.lighter(125), colour::accent));
    p.drawPath(arrow);
}

void drawToolPicture(QPainter& p, ToolPicture which) {
    switch (which) {
    case ToolPicture::CashJournal:
        drawLedger(p, QRectF(0.5, 1.5, 20, 15), colour::leather, colour::leatherDark, 1.0, true);
        drawCoin(p, QPointF(17.5, 17.5), 5.5, 1.0, 1.0);
        break;
    case ToolPicture::BankJournal:
        drawLedger(p, QRectF(0.5, 1.5, 20, 15), bankTint.fill, bankTint.dark, 1.0, true);
        drawBank(p, QRectF(11.5, 11.5, 12, 12), 1.0);
        break;
    case ToolPicture::CashSummaryStats:
    case ToolPicture::BankSummaryStats: {
        const Tint& tint = which == ToolPicture::CashSummaryStats ? cashTint : bankTint;
        drawList(p, tint);
        drawSigmaBadge(p, QPointF(17.5, 17.5), 5.5, tint);
        break;
    }
    case ToolPicture::CashMonthStats:
        drawMonthChart(p, cashTint);
        break;
    case ToolPicture::BankMonthStats:
        drawMonthChart(p, bankTint);
        break;
    case ToolPicture::Exit:
        drawExit(p);
        break;
    }
}

/// A counting frame, two beads above the beam and five below, drawn opaque into `box`; the
/// beads are set to spell a few digits, the only figures the background carries.
void drawAbacus(QPainter& p, const QRectF& box, const QColor& colour) {
    constexpr std::array<int, 9> digits{3, 1, 4, 1, 5, 9, 2, 6, 5};
    const qreal frame = box.width() * 0.035;
    const qreal pitch = (box.width() - 2 * frame) / digits.size();
    const qreal beadW = pitch * 0.9;
    const qreal top = box.top() + frame;
    const qreal bottom = box.bottom() - frame;
    const qreal beamH = frame * 0.7;
    const qreal beamY = top + (bottom - top) * 0.3;
    const qreal above = beamY - beamH / 2;
    const qreal below = beamY + beamH / 2;
    const qreal beadH = std::min(beadW * 0.5, (bottom - below) / 6.2);

    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath rim;
    rim.addRoundedRect(box, frame, frame);
    rim.addRoundedRect(box.adjusted(frame, frame, -frame, -frame), frame * 0.4, frame * 0.4);
    p.drawPath(rim);
    p.drawRect(QRectF(box.left() + frame, above, box.width() - 2 * frame, beamH));

    const auto bead = [&](qreal cx, qreal cy) {
        // A bead seen from the front: a flattened hexagon.
        const qreal h = beadH * 0.92; // a hairline apart
        const QPointF hex[] = {{cx - beadW / 2, cy},           {cx - beadW * 0.3, cy - h / 2},
                               {cx + beadW * 0.3, cy - h / 2}, {cx + beadW / 2, cy},
                               {cx + beadW * 0.3, cy + h / 2}, {cx - beadW * 0.3, cy + h / 2}};
        p.drawPolygon(hex, 6);
    };
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const qreal cx = box.left() + frame + pitch * (i + 0.5);
        p.drawRect(QRectF(cx - frame * 0.12, top, frame * 0.24, bottom - top));
        const int d = digits[i];
        // Upper deck: beads worth five; a counted one rests against the beam.
        const int down = d >= 5 ? 1 : 0;
        for (int k = 0; k < 2; ++k) {
            const bool counted = k >= 2 - down;
            bead(cx, counted ? above - beadH * (1 - k + 0.5) : top + beadH * (k + 0.5));
        }
        // Lower deck: beads worth one, the counted ones pushed up against the beam.
        const int up = d % 5;
        for (int k = 0; k < 5; ++k)
            bead(cx, k < up ? below + beadH * (k + 0.5) : bottom - beadH * (4 - k + 0.5));
    }
    p.restore();
}

void drawBackground(QPainter& p, const QSizeF& size) {
    const QRectF area(QPointF(0, 0), size);
    QLinearGradient wash(area.topLeft(), area.bottomLeft());
    wash.setColorAt(0, QColor(0xec, 0xf1, 0xf3));
    wash.setColorAt(0.6, QColor(0xdd, 0xe7, 0xeb));
    wash.setColorAt(1, QColor(0xcc, 0xdb, 0xe0));
    p.fillRect(area, wash);

    QRadialGradient glow(QPointF(size.width() * 0.22, size.height() * 0.12),
                         std::max(size.width(), size.height()) * 0.7);
    glow.setColorAt(0, QColor(255, 253, 246, 150));
    glow.setColorAt(1, QColor(255, 253, 246, 0));
    p.fillRect(area, glow);

    // Ledger paper: ruled lines, a double margin line and the amount columns.
    const qreal lineGap = 28;
    p.setPen(QPen(QColor(0x3a, 0x6a, 0x96, 26), 1));
    for (qreal y = 64.5; y < size.height(); y += lineGap)
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
    // The heading row of the ledger, closed by a double rule.
    p.fillRect(QRectF(0, 0, size.width(), 36), QColor(0x3a, 0x6a, 0x96, 10));
    p.setPen(QPen(QColor(0x3a, 0x6a, 0x96, 52), 1));
    p.drawLine(QPointF(0, 36.5), QPointF(size.width(), 36.5));
    p.drawLine(QPointF(0, 39.5), QPointF(size.width(), 39.5));

    const auto column = [&](qreal fraction, const QColor& colour, bool doubled) {
        const qreal x = std::floor(size.width() * fraction) + 0.5;
        p.setPen(QPen(colour, 1));
        p.drawLine(QPointF(x, 0), QPointF(x, size.height()));
        if (doubled)
            p.drawLine(QPointF(x + 3, 0), QPointF(x + 3, size.height()));
    };
    const QColor warm(0xb4, 0x4a, 0x38, 34);
    const QColor cool(0x3a, 0x6a, 0x96, 22);
    column(0.075, warm, true);
    column(0.16, cool, false);
    column(0.22, cool, false);
    column(0.62, warm, true);
    column(0.74, cool, false);
    column(0.86, warm, true);

    // A large, faint counting frame in the lower right, clear of where windows open.
    const qreal extent = std::min(size.width() * 0.34, size.height() * 0.46);
    const QRectF abacus(size.width() - extent * 1.12, size.height() - extent * 0.82, extent,
                        extent * 0.66);
    // Painted opaque on a layer first, so that a translucent colour does not darken where
    // its parts overlap.
    const qreal ratio = p.device()->devicePixelRatioF();
    QImage layer((abacus.size() * ratio).toSize() + QSize(2, 2),
                 QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        drawAbacus(lp, QRectF(QPointF(0, 0), abacus.size()), QColor(0x1f, 0x4a, 0x6e));
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(abacus.center());
    p.rotate(-8);
    p.translate(-abacus.center());
    p.setOpacity(0.1);
    p.drawImage(abacus.topLeft(), layer);
    p.restore();

    // Darken the edges a little so the middle, where windows sit, reads as lit.
    QRadialGradient vignette(area.center(), std::hypot(size.width(), size.height()) * 0.6);
    vignette.setColorAt(0.6, QColor(0x10, 0x28, 0x40, 0));
    vignette.setColorAt(1, QColor(0x10, 0x28, 0x40, 28));
    p.fillRect(area, vignette);
}

/// The application emblem in a 64 x 64 design: a ledger and a coin on a blue-teal tile.
void drawEmblem(QPainter& p, bool detailed) {
    const QRectF tile(2, 2, 60, 60);
    QLinearGradient sea(tile.topLeft(), tile.bottomRight());
    sea.setColorAt(0, colour::navy.lighter(115));
    sea.setColorAt(1, colour::teal);
    p.setPen(outline(colour::navy.darker(130), 1.5));
    p.setBrush(sea);
    p.drawRoundedRect(tile, 13, 13);
    if (detailed) {
        QLinearGradient sheen(tile.topLeft(), QPointF(tile.left(), tile.center().y()));
        sheen.setColorAt(0, QColor(255, 255, 255, 60));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(sheen);
        p.drawRoundedRect(tile.adjusted(1.5, 1.5, -1.5, -30), 11.5, 11.5);
    }
    drawLedger(p, QRectF(7, 10, 44, 33), colour::leather, colour::leatherDark, detailed ? 1.6 : 2.4,
               detailed);
    // A ring of the tile's own deep blue keeps the coin apart from the book; a cut-out gap
    // would show whatever lies under the icon.
    const QPointF coin(45, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::navy);
    p.drawEllipse(coin, 14.2, 14.2);
    drawCoin(p, coin, 12, detailed ? 1.6 : 2.6, 0);
}

/// A brass key, lying along the x axis from its bow at the origin.
void drawKey(QPainter& p, qreal length) {
    QPainterPath key;
    key.addEllipse(QPointF(0, 0), 10, 10);
    key.addRect(QRectF(8, -2.6, length - 8, 5.2));
    key.addRect(QRectF(length - 12, 2.6, 4, 5));
    key.addRect(QRectF(length - 5, 2.6, 4, 7));
    key.setFillRule(Qt::WindingFill);
    QPainterPath solid = key.simplified();
    QPainterPath hole;
    hole.addEllipse(QPointF(-2.5, 0), 4, 4);
    solid = solid.subtracted(hole);

    QLinearGradient brass(0, -10, 0, 10);
    brass.setColorAt(0, cashTint.light);
    brass.setColorAt(1, cashTint.fill);
    p.setPen(outline(cashTint.dark, 1.2));
    p.setBrush(brass);
    p.drawPath(solid);
    p.setPen(outline(cashTint.light.lighter(110), 1.0));
    p.drawLine(QPointF(12, -1), QPointF(length - 2, -1));
}

void drawLogin(QPainter& p, const QSizeF& size) {
    const QRectF area(QPointF(0, 0), size);
    QLinearGradient sea(area.topLeft(), area.bottomLeft());
    sea.setColorAt(0, colour::navy);
    sea.setColorAt(1, colour::teal);
    p.fillRect(area, sea);

    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    for (qreal y = 10.5; y < size.height(); y += 12)
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
    p.setPen(QPen(QColor(0xf0, 0x9a, 0x80, 40), 1));
    p.drawLine(QPointF(12.5, 0), QPointF(12.5, size.height()));
    p.drawLine(QPointF(15.5, 0), QPointF(15.5, size.height()));

    QRadialGradient light(QPointF(size.width() / 2, 58), 56);
    light.setColorAt(0, QColor(255, 246, 220, 70));
    light.setColorAt(1, QColor(255, 246, 220, 0));
    p.fillRect(area, light);

    drawLedger(p, QRectF(13, 30, 84, 63), colour::leather, colour::leatherDark, 1.2, true);

    p.save();
    p.translate(26, 117);
    p.rotate(-12);
    drawKey(p, 64);
    p.restore();
}

template <typename Key> QPixmap& slot(std::map<std::pair<Key, qreal>, QPixmap>& cache, Key key) {
    return cache[{key, screenRatio()}];
}

} // namespace

QPixmap background(const QSize& size) {
    static QPixmap last;
    static QSize lastSize;
    static qreal lastRatio = 0;
    if (size.isEmpty())
        return {};
    if (last.isNull() || size != lastSize || screenRatio() != lastRatio) {
        last = paintPicture(size, [&](QPainter& p) { drawBackground(p, size); });
        lastSize = size;
        lastRatio = screenRatio();
    }
    return last;
}

QPixmap toolPicture(ToolPicture which) {
    static std::map<std::pair<ToolPicture, qreal>, QPixmap> cache;
    QPixmap& pixmap = slot(cache, which);
    if (pixmap.isNull())
        pixmap = paintPicture(QSize(toolPictureExtent, toolPictureExtent),
                              [which](QPainter& p) { drawToolPicture(p, which); });
    return pixmap;
}

QPixmap loginPicture() {
    static std::map<std::pair<int, qreal>, QPixmap> cache;
    QPixmap& pixmap = slot(cache, 0);
    if (pixmap.isNull())
        pixmap =
            paintPicture(loginPictureSize, [](QPainter& p) { drawLogin(p, loginPictureSize); });
    return pixmap;
}

QPixmap aboutPicture() {
    static std::map<std::pair<int, qreal>, QPixmap> cache;
    QPixmap& pixmap = slot(cache, 0);
    if (pixmap.isNull())
        pixmap = paintPicture(QSize(aboutPictureExtent, aboutPictureExtent),
                              [](QPainter& p) { drawEmblem(p, true); });
    return pixmap;
}

QIcon applicationIcon() {
    static QIcon icon;
    if (icon.isNull()) {
        for (const int extent : {16, 24, 32, 48, 64, 128, 256}) {
            QPixmap pixmap(extent, extent);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            paintEmblem(p, extent);
            p.end();
            icon.addPixmap(pixmap);
        }
    }
    return icon;
}

void paintEmblem(QPainter& p, int extent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(extent / 64.0, extent / 64.0);
    drawEmblem(p, extent >= 32);
    p.restore();
}

QPixmap arrowImage(int index) {
    if (index != 0 && index != 1)
        return {};
    static std::map<std::pair<int, qreal>, QPixmap> cache;
    QPixmap& pixmap = slot(cache, index);
    if (pixmap.isNull()) {
        pixmap = paintPicture(arrowImageSize, [index](QPainter& p) {
            // Drawn pointing right on whole pixels, mirrored for the left-pointing one.
            if (index == 1) {
                p.translate(arrowImageSize.width(), 0);
                p.scale(-1, 1);
            }
            QPainterPath arrow;
            arrow.moveTo(1, 7);
            arrow.lineTo(6, 7);
            arrow.lineTo(6, 3);
            arrow.lineTo(11, 8);
            arrow.lineTo(6, 13);
            arrow.lineTo(6, 9);
            arrow.lineTo(1, 9);
            arrow.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(colour::ink);
            p.drawPath(arrow);
        });
    }
    return pixmap;
}

QIcon glyphIcon(const QPixmap& glyph) {
    QIcon icon(glyph);
    if (glyph.isNull())
        return icon;
    QPixmap greyed(glyph.size());
    greyed.setDevicePixelRatio(glyph.devicePixelRatio());
    greyed.fill(Qt::transparent);
    QPainter p(&greyed);
    p.drawPixmap(0, 0, glyph);
    // Keep the glyph's shape and edges, in the grey alone.
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(QRectF(QPointF(0, 0), glyph.deviceIndependentSize()),
               QGuiApplication::palette().color(QPalette::Disabled, QPalette::ButtonText));
    p.end();
    icon.addPixmap(greyed, QIcon::Disabled);
    return icon;
}

} // namespace ui::artwork
