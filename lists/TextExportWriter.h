#pragma once

class QIODevice;

namespace lists {

struct TableSnapshot;

/// Tab-separated text: the title row, then a line break before each record
/// and before the footer row, and nothing after the footer's last value.
/// Tabs and line breaks inside a cell are written as they are.
void writeTextExport(const TableSnapshot& table, QIODevice& device);

} // namespace lists
