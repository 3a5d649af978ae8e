#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QVariant>

namespace lists {

/// What a grid's footer cell shows for its column.
enum class FooterKind { None, StaticText, Count, Sum };

/// How a cell's value is stored in a worksheet: as text, or as a number.
enum class CellKind { Text, Integer, Number };

/// A font as the exported and printed documents describe it.
struct CellFont {
    QString family = QStringLiteral("宋体");
    int pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color = QColor(0, 0, 0);
};

struct SnapshotColumn {
    QString title;     // the full title text; "|" separates title levels
    QString fieldName; // empty for a column without a field
    int width = 64;    // screen pixels
    Qt::Alignment alignment = Qt::AlignLeft;
    CellFont font;
    QColor background = QColor(255, 255, 255);
    CellKind kind = CellKind::Text;
    FooterKind footerKind = FooterKind::None;
    Qt::Alignment footerAlignment = Qt::AlignLeft;
    /// Dates and numbers: shown whole on one line, never wrapped or cut.
    bool keepWhole = false;
};

struct SnapshotCell {
    QString text;      // exactly as the grid shows it
    bool isNull = true;
    qint64 integer = 0;   // the value, for CellKind::Integer
    double number = 0.0;  // the value, for CellKind::Number (amounts in units)
    QColor background = QColor(255, 255, 255); // after the two-colour rule
};

struct SnapshotFooterCell {
    QString text;      // the text formats write this
    FooterKind kind = FooterKind::None;
    double number = 0.0; // count or sum, for the worksheet
};

/// A grid's visible columns, every record of its query in the query's order,
/// and its footer row computed over those records: what the export writers
/// and the printed document are made from.
struct TableSnapshot {
    QString gridName = QStringLiteral("DBGridEh1");
    bool threeDimensionalFrame = false; // the HTML table attributes follow it
    bool flat = true;
    QColor buttonFace = QColor(240, 240, 240); // title and fixed-area colour
    CellFont titleFont;
    CellFont footerFont;
    QColor footerBackground = QColor(255, 255, 255);
    QList<SnapshotColumn> columns;
    QList<QList<SnapshotCell>> rows;
    QList<SnapshotFooterCell> footer; // one per column
};

} // namespace lists
