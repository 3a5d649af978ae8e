#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lists {

/// Reads the first worksheet of an Excel workbook (`.xlsx`, Office Open
/// XML, as Excel, WPS and LibreOffice save it): the zip archive through
/// QuaZip, its parts with Qt's XML reader. Shared and inline strings read as
/// texts, numbers as exact text with at most four decimals, numbers in a
/// date style as "2026-12-01" (with " 09:30:00" for a time of day), a
/// formula as the result the file holds.
class XlsxSheetReader {
public:
    /// Whether the bytes begin as a zip archive does.
    static bool isWorkbook(const QByteArray& bytes);

    /// The rows of the first worksheet, from row 1; nothing, with the reason
    /// in `problem`, for an archive that is no workbook or is damaged, a part
    /// that unpacks to more than the import reads of a file, a cell beyond
    /// 256 columns or a grid far larger than the file.
    static std::optional<QList<QStringList>> read(const QByteArray& bytes, QString* problem);
};

} // namespace lists
