#include "TextExportWriter.h"

#include "ExportStream.h"
#include "FormulaGuard.h"
#include "TableSnapshot.h"

namespace lists {

namespace {

// A tab or a line break inside a cell would start a new column or row for
// every reader, so each becomes one blank (a CR LF pair one blank too). The
// GBK bytes are changed in place: tab, CR and LF are below 0x40 and never
// part of a GBK double-byte character.
void writeCell(ExportStream& out, QStringView text) {
    QByteArray& buffer = out.buffer();
    const qsizetype start = buffer.size();
    out.text(text);
    qsizetype i = start;
    const qsizetype end = buffer.size();
    while (i < end && buffer[i] != '\t' && buffer[i] != '\r' && buffer[i] != '\n')
        ++i;
    if (i == end)
        return;
    qsizetype kept = i;
    for (; i < end; ++i) {
        const char c = buffer[i];
        if (c == '\r' && i + 1 < end && buffer[i + 1] == '\n')
            continue; // the LF of the pair writes its blank
        buffer[kept++] = c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    buffer.truncate(kept);
}

} // namespace

void writeTextExport(const TableSnapshot& table, QIODevice& device) {
    ExportStream out(device);
    const qsizetype columns = table.columns.size();
    for (qsizetype c = 0; c < columns; ++c) {
        if (c > 0)
            out << '\t';
        writeCell(out, table.columns[c].title);
    }
    for (const QList<SnapshotCell>& row : table.rows) {
        out << "\r\n";
        for (qsizetype c = 0; c < columns; ++c) {
            if (c > 0)
                out << '\t';
            if (c >= row.size())
                continue;
            if (needsFormulaGuard(table.columns[c], row[c].text))
                out << '\'';
            writeCell(out, row[c].text);
        }
        out.flushIfFull();
    }
    out << "\r\n";
    for (qsizetype c = 0; c < columns; ++c) {
        if (c > 0)
            out << '\t';
        if (c < table.footer.size())
            writeCell(out, table.footer[c].text);
    }
    out.finish();
}

} // namespace lists
