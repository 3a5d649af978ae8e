#pragma once

#include "SheetCells.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace lists {

/// One row of a file being imported: its cells (a null text for an empty
/// cell), the line it begins on and its text as the file holds it.
struct ImportRow {
    int line = 0;
    QStringList cells;
    QString text;
};

/// A file that cannot be read as a table, with the reason in Chinese.
class ImportFileError : public std::runtime_error {
public:
    explicit ImportFileError(const QString& message)
        : std::runtime_error("import file error")
        , m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

/// What an import reads at most, far above any journal (a year of 100,000
/// entries is a CSV of about 10 MB): the file's size, the values of one row
/// of text (a worksheet's columns) and the values of a whole file (a
/// worksheet's 65,536 rows of 256 columns). They bound what a file, crafted
/// or damaged, can make the import hold in memory.
constexpr qint64 kMaxImportFileBytes = qint64(64) << 20;
constexpr qsizetype kMaxImportRowValues = kMaxSheetColumns;
constexpr qsizetype kMaxImportValues = qsizetype(65536) * kMaxImportRowValues;

/// Reads the table of a file to import: a worksheet as the program exports
/// it, the first worksheet of an Excel workbook (`.xls` or `.xlsx`, told
/// apart by their first bytes, whatever the file's name), or text as the
/// program's txt and csv exports, spreadsheets and online banking write it.
/// Text is UTF-8 (with or without its byte-order mark), GBK or GB18030; the
/// separator is the tab, ";" or "," that the first line holding any of them
/// holds most of (lines above a table may hold none).
/// With ";" or ",", a value that begins with a double quote runs to the
/// closing quote, with doubled quotes and line breaks inside; tab-separated
/// text has no quoting. A value the text exports guarded with a leading "'"
/// is read without it. Every row of a worksheet has the sheet's width, and
/// its line is the row's number in the sheet.
/// Throws ImportFileError for a file that is missing, unreadable, empty, not
/// a regular file (a device, a pipe, a folder) or beyond the limits above.
QList<ImportRow> readImportFile(const QString& path);

/// The rows of a file's bytes, as readImportFile reads them; `path` names the
/// file in the messages.
QList<ImportRow> readImportBytes(const QByteArray& bytes, const QString& path);

} // namespace lists
