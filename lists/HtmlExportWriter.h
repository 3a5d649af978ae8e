#pragma once

class QIODevice;

namespace lists {

struct TableSnapshot;

/// An HTML 3.2 document holding the table, every cell with its width,
/// alignment, background and font; the text is GBK and the head says so.
/// "&", "<", ">" and double quotes become "&amp", "&lt", "&gt" and "&quot"
/// (without semicolons) and an empty cell holds "&nbsp".
void writeHtmlExport(const TableSnapshot& table, QIODevice& device);

} // namespace lists
