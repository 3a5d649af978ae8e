#pragma once

#include <QString>

namespace lists {

/// The hidden-columns menu caption of a column title: the last two title
/// levels at most, their "|" turned into a tab (the menu right-aligns what
/// follows it). "A|B|C" gives "B\tC", "A|B" gives "A\tB", "A" gives "A".
QString hiddenColumnCaption(const QString& title);

} // namespace lists
