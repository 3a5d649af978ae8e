#pragma once

#include "TableSnapshot.h"

#include "store/FieldValue.h"

#include <QString>
#include <QVariant>

namespace lists {

/// The text a grid cell shows for a stored value: amounts with two decimals
/// and group separators ("1,234.50"), dates as "2005-3-1" (with the time of
/// day when there is one), empty for null.
QString cellText(const QVariant& value, store::FieldType type);

/// Whether a column of this type lines up on the right (amounts, numbers).
bool isNumeric(store::FieldType type);

/// Whether values of this type are dates or numbers, which are shown whole
/// on one line: never wrapped, never cut.
bool isDateOrNumber(store::FieldType type);

/// How a value of this type goes into a worksheet.
CellKind cellKind(store::FieldType type);

} // namespace lists
