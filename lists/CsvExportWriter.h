#pragma once

class QIODevice;

namespace lists {

struct TableSnapshot;

/// Lines laid out as in the tab-separated text, but every value between
/// double quotes with the quotes inside doubled, and values separated by
/// ";" rather than a comma.
void writeCsvExport(const TableSnapshot& table, QIODevice& device);

} // namespace lists
