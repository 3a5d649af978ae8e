#pragma once

#include <QDateTime>
#include <QFont>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace lists {

/// How a list window prints its grid: the page frame, the fitting and font
/// choices, the page header and footer and the text after the grid. A list
/// window owns one for as long as it lives.
struct PrintSetup {
    enum class FitKind {
        ScaleGrid,          // the whole grid, text included, is drawn smaller
        ChangeColumnWidths, // the columns narrow and their text wraps; fonts keep their size
    };

    /// Left, top, right, bottom, in centimetres from the paper edge.
    QMarginsF marginsCm = QMarginsF(2.0, 2.0, 2.0, 2.0);
    /// A grid wider than the printable width is made to fit; never widened.
    bool fitToPageWidth = true;
    FitKind fitKind = FitKind::ScaleGrid;
    /// A row grows to the height of its wrapped text; otherwise one line.
    bool autoStretchRows = true;
    /// Off: black text and lines on white, whatever the grid's colours.
    bool colouredPrinting = false;
    /// On: each column as wide as its widest text instead of its screen width.
    bool optimalColumnWidths = false;
    /// Replaces the grid's fonts (cells, titles, footer) when set.
    std::optional<QFont> printFont;

    /// Each entry is one line; page macros such as "&[Page]" are expanded per page.
    QStringList headerLeft;
    QStringList headerCentre;
    QStringList headerRight;
    QFont headerFont;
    QStringList footerLeft;
    QStringList footerCentre;
    QStringList footerRight;
    QFont footerFont;

    /// The paragraph printed after the grid, placeholders not yet substituted.
    QString afterGridText;
    QFont afterGridFont;
    /// Placeholder and value pairs applied in order to the text after the grid.
    QList<std::pair<QString, QString>> substitutions;

    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;

    /// The settings a list window opens with; `title` is the centre header line.
    static PrintSetup standard(const QString& title);
};

struct ListWindowTraits;

/// The setup a list window opens with: the standard one under its print title.
PrintSetup listWindowPrintSetup(const ListWindowTraits& traits);

/// Replaces every occurrence of each placeholder by its value, pairs in order.
QString substitute(QString text, const QList<std::pair<QString, QString>>& pairs);

/// The two pairs every list window sets before it prints: the time of
/// printing ("%[Today]") and the operator who prints ("%[czy]").
void setStandardSubstitutions(PrintSetup& setup, const QString& operatorName, const QDateTime& now);

} // namespace lists
