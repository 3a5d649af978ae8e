#pragma once

#include <QString>

class QIODevice;

namespace lists {

struct TableSnapshot;

/// The file types of the save dialog, numbered as its type list is.
enum class ExportType { Text = 1, Csv = 2, Html = 3, Rtf = 4, Xls = 5 };

/// True for the numbers 1 to 5 of the save dialog's type list.
bool isExportType(int type);

/// "txt", "csv", "htm", "rtf" or "xls"; empty for any other number.
QString exportExtension(int type);

/// The name the file is written under: the chosen name, followed by "." and
/// the type's extension unless its last three characters already spell the
/// extension (in any letter case). "report.CSV" as text becomes
/// "report.CSV.txt"; the format always follows the type, never the name.
QString exportFilePath(const QString& chosenName, int type);

/// Writes the snapshot to `device` in the format of `type` (1 to 5) and
/// returns the number of worksheet labels cut to fit their cells (0 for the
/// other formats). Throws std::invalid_argument for another number, ExportWriteError when
/// the device refuses bytes and XlsTooManyRows for a worksheet that would
/// need more rows than the format can number.
int writeExport(int type, const TableSnapshot& table, QIODevice& device);

/// What the user is told after an export that cut `count` labels (count > 0).
QString cutLabelsNotice(int count);

} // namespace lists
