#include "ExportFormat.h"

#include "CsvExportWriter.h"
#include "HtmlExportWriter.h"
#include "RtfExportWriter.h"
#include "TextExportWriter.h"
#include "XlsExportWriter.h"

#include <stdexcept>

namespace lists {

bool isExportType(int type) {
    return type >= 1 && type <= 5;
}

QString exportExtension(int type) {
    switch (static_cast<ExportType>(type)) {
    case ExportType::Text:
        return QStringLiteral("txt");
    case ExportType::Csv:
        return QStringLiteral("csv");
    case ExportType::Html:
        return QStringLiteral("htm");
    case ExportType::Rtf:
        return QStringLiteral("rtf");
    case ExportType::Xls:
        return QStringLiteral("xls");
    }
    return {};
}

QString exportFilePath(const QString& chosenName, int type) {
    const QString extension = exportExtension(type);
    if (extension.isEmpty() || chosenName.right(3).toUpper() == extension.toUpper())
        return chosenName;
    return chosenName + QLatin1Char('.') + extension;
}

int writeExport(int type, const TableSnapshot& table, QIODevice& device) {
    switch (static_cast<ExportType>(type)) {
    case ExportType::Text:
        writeTextExport(table, device);
        return 0;
    case ExportType::Csv:
        writeCsvExport(table, device);
        return 0;
    case ExportType::Html:
        writeHtmlExport(table, device);
        return 0;
    case ExportType::Rtf:
        writeRtfExport(table, device);
        return 0;
    case ExportType::Xls:
        return writeXlsExport(table, device);
    }
    throw std::invalid_argument("no export format has number " + std::to_string(type));
}

QString cutLabelsNotice(int count) {
    return QStringLiteral("%1 个单元格超过 255 字节，已截断").arg(count);
}

} // namespace lists
