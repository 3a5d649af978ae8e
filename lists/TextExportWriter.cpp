#include "TextExportWriter.h"

#include "ExportStream.h"
#include "TableSnapshot.h"

namespace lists {

void writeTextExport(const TableSnapshot& table, QIODevice& device) {
    ExportStream out(device);
    const qsizetype columns = table.columns.size();
    for (qsizetype c = 0; c < columns; ++c) {
        if (c > 0)
            out << '\t';
        out.text(table.columns[c].title);
    }
    for (const QList<SnapshotCell>& row : table.rows) {
        out << "\r\n";
        for (qsizetype c = 0; c < columns; ++c) {
            if (c > 0)
                out << '\t';
            if (c < row.size())
                out.text(row[c].text);
        }
        out.flushIfFull();
    }
    out << "\r\n";
    for (qsizetype c = 0; c < columns; ++c) {
        if (c > 0)
            out << '\t';
        if (c < table.footer.size())
            out.text(table.footer[c].text);
    }
    out.finish();
}

} // namespace lists
