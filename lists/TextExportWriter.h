#pragma once

class QIODevice;

namespace lists {

struct TableSnapshot;

/// Tab-separated text: the title row, then a line break before each record
/// and before the footer row, and nothing after the footer's last value.
/// A tab, CR or LF inside a cell is written as one blank (a CR LF pair as
/// one), so that every row and column stays in place.
void writeTextExport(const TableSnapshot& table, QIODevice& device);

} // namespace lists
