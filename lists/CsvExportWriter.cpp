#include "CsvExportWriter.h"

#include "ExportStream.h"
#include "FormulaGuard.h"
#include "TableSnapshot.h"

namespace lists {

namespace {

// The quote is doubled in the GBK bytes: 0x22 is never part of a GBK
// double-byte character.
void writeQuoted(ExportStream& out, const QString& value, bool guarded = false) {
    QByteArray& buffer = out.buffer();
    buffer.append('"');
    if (guarded)
        buffer.append('\'');
    const qsizetype start = buffer.size();
    out.text(value);
    for (qsizetype i = buffer.indexOf('"', start); i >= 0; i = buffer.indexOf('"', i + 2))
        buffer.insert(i, '"');
    buffer.append('"');
}

} // namespace

void writeCsvExport(const TableSnapshot& table, QIODevice& device) {
    ExportStream out(device);
    const qsizetype columns = table.columns.size();
    for (qsizetype c = 0; c < columns; ++c) {
        if (c > 0)
            out << ';';
        writeQuoted(out, table.columns[c].title);
    }
    for (const QList<SnapshotCell>& row : table.rows) {
        out << "\r\n";
        for (qsizetype c = 0; c < columns; ++c) {
            if (c > 0)
                out << ';';
            const QString& text = c < row.size() ? row[c].text : QString();
            writeQuoted(out, text, needsFormulaGuard(table.columns[c], text));
        }
        out.flushIfFull();
    }
    out << "\r\n";
    for (qsizetype c = 0; c < columns; ++c) {
        if (c > 0)
            out << ';';
        writeQuoted(out, c < table.footer.size() ? table.footer[c].text : QString());
    }
    out.finish();
}

} // namespace lists
