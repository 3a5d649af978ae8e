#pragma once

class QIODevice;

namespace lists {

struct TableSnapshot;

/// An HTML 3.2 document holding the table, every cell with its width,
/// alignment, background and font; the text is GBK and the head says so.
/// "&", "<", ">" and double quotes become "&amp;", "&lt;", "&gt;" and
/// "&quot;", and an empty cell holds "&nbsp;". Each entity keeps its ";":
/// without it a ";" that follows is taken into the entity, and readers that
/// read on to the next letters garble the text after it.
void writeHtmlExport(const TableSnapshot& table, QIODevice& device);

} // namespace lists
