#pragma once

#include "GridColumn.h"
#include "TableSnapshot.h"

#include <QFont>

namespace store {
class Query;
}

namespace lists {

/// How a grid looks, as far as the snapshot carries it.
struct GridStyle {
    QFont cellFont;
    QFont titleFont;
    QFont footerFont;
    bool dichromatic = false;      // "区分列表": odd records pale cyan, even white
    bool threeDimensionalFrame = false;
};

/// The pale cyan of the first, third ... records while "区分列表" is checked.
inline const QColor kDichromaticColor = QColor(0xEC, 0xF9, 0xF9);

/// A footer cell computed over every record the query holds: the static
/// text, the record count, or the exact sum of a currency column.
SnapshotFooterCell computeFooter(const store::Query& query, const GridColumn& column);

/// The snapshot of a query shown through these columns (visible ones, in
/// display order): every record in the query's order, without moving its cursor.
TableSnapshot buildSnapshot(const store::Query& query, const QList<GridColumn>& columns,
                            const GridStyle& style);

/// A font described for the documents: the family name as the window asks
/// for it, and the size in whole points.
CellFont describeFont(const QFont& font);

} // namespace lists
