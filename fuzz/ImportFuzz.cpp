// libFuzzer target for the readers of the imports: the worksheet readers
// (the program's own and .xlsx workbooks) and the decoding and splitting of
// text (UTF-8, GBK, GB18030; tabs, ";" or "," with quoting). Each input is
// the bytes of a file to import.
//
// What must hold, or the run stops: the readers give rows or refuse the file
// with a message, within the limits that bound what a file can make the
// import hold (no row wider than a worksheet, no more values than its grid),
// rows numbered upwards and every row of a worksheet as wide as the others.

#include "lists/ImportFileReader.h"
#include "lists/XlsWorkbookReader.h"
#include "lists/XlsSheetReader.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The .xls library runs confined in a child process, where a fault of its
    // own ends only the read; such faults are the library's, not this target's.
    if (lists::XlsWorkbookReader::isWorkbook(bytes))
        return 0;
    QList<lists::ImportRow> rows;
    try {
        rows = lists::readImportBytes(bytes, QStringLiteral("fuzz"));
    } catch (const lists::ImportFileError& e) {
        if (e.message().isEmpty())
            broken("a refusal without a message");
        return 0;
    }
    if (rows.isEmpty())
        broken("no title row and no refusal");
    const bool worksheet = lists::XlsSheetReader::isWorksheet(bytes);
    qsizetype values = 0;
    int line = 0;
    for (const lists::ImportRow& row : rows) {
        if (row.cells.size() > lists::kMaxImportRowValues)
            broken("a row wider than a worksheet");
        if (worksheet && row.cells.size() != rows.first().cells.size())
            broken("worksheet rows of different widths");
        if (row.line <= line)
            broken("rows not numbered upwards");
        line = row.line;
        values += row.cells.size();
    }
    if (values > lists::kMaxImportValues || (worksheet && values > bytes.size()))
        broken("more values than the limits allow");
    return 0;
}
