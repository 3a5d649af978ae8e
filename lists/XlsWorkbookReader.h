#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lists {

/// Reads the first worksheet of an Excel 97-2003 workbook (BIFF8 in a
/// compound document, as Excel, WPS and LibreOffice save `.xls`), through
/// libfreexl. Texts read as the sheet holds them, numbers as exact text with
/// at most four decimals, cells in a date style as "2026-12-01" (a date and
/// time as "2026-12-01 09:30:00").
class XlsWorkbookReader {
public:
    /// Whether the bytes begin with the compound document's signature.
    static bool isWorkbook(const QByteArray& bytes);

    /// The rows of the first worksheet that holds a cell, from row 1; nothing,
    /// with the reason in `problem`, for a damaged or protected workbook, a
    /// cell beyond 256 columns or a grid far larger than the file.
    static std::optional<QList<QStringList>> read(const QByteArray& bytes, QString* problem);
};

} // namespace lists
