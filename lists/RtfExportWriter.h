#pragma once

class QIODevice;

namespace lists {

struct TableSnapshot;

/// An RTF document holding the table: colour and font tables in the order
/// the cells first use them (the colour table always starts with black,
/// white and the button face), one table row per title level, per record
/// and for the footer. Text is GBK written as \'hh escapes under
/// \ansicpg936, with "\", "{" and "}" escaped, so that any character reads
/// back the same whatever code page the reader runs under; a line break in
/// a cell is a \line. The document asks for A4 with half-inch margins,
/// turned across when the table is wider than the upright page, and a table
/// wider than the turned page has its cells narrowed in proportion to fit.
void writeRtfExport(const TableSnapshot& table, QIODevice& device);

} // namespace lists
