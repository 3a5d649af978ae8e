// libFuzzer target for the reading of a bank's statement: the file readers
// (text, the program's worksheet, .xls and .xlsx workbooks) and the finding
// of the title row, the columns, the direction and the order of the lines.
// Each input is the bytes of a statement file.
//
// What must hold, or the run stops: the file is refused with a message, or
// its lines are refused each with a reason, or every line read has a
// calendar day and exactly one amount, above zero, and along the lines in
// the order given the balance follows from one that gives it to the next.

#include "journal/StatementReading.h"
#include "lists/ImportFileReader.h"
#include "lists/XlsWorkbookReader.h"

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
    journal::StatementReading reading;
    try {
        reading = journal::readStatement(lists::readImportBytes(bytes, QStringLiteral("fuzz")));
    } catch (const lists::ImportFileError& e) {
        if (e.message().isEmpty())
            broken("a refusal without a message");
        return 0;
    }
    if (!reading.refused.isEmpty()) {
        if (!reading.lines.isEmpty())
            broken("lines read from a refused file");
        for (const journal::RefusedStatementLine& line : reading.refused) {
            if (line.reason.isEmpty() || line.line < 1)
                broken("a refused line without its reason or number");
        }
        return 0;
    }
    std::optional<store::Currency> balance;
    for (const journal::StatementLine& line : reading.lines) {
        if (!line.date.isValid() || line.date.year() < 1000)
            broken("a line without a calendar day");
        const store::Currency zero;
        if ((line.in > zero) == (line.out > zero) || line.in < zero || line.out < zero)
            broken("a line without exactly one amount above zero");
        if (balance)
            balance = *balance + line.in - line.out;
        if (line.balance) {
            if (balance && *balance != *line.balance)
                broken("a balance that does not follow");
            balance = line.balance;
        }
    }
    return 0;
}
