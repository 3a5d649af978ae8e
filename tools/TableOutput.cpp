#include "TableOutput.h"

#include "ListExport.h"
#include "ListPrint.h"

#include "lists/ExportFormat.h"
#include "store/BookFiles.h"

#include <QDateTime>
#include <QFileInfo>

namespace tools {

namespace {

const QString kPdf = QStringLiteral("pdf");

// "pdf" or an export type's name ("html" too); nothing for another name.
std::optional<QString> formatNamed(QString name) {
    name = name.toLower();
    if (name == QLatin1String("html"))
        name = QStringLiteral("htm");
    if (name == kPdf || exportTypeNamed(name))
        return name;
    return std::nullopt;
}

} // namespace

int checkTableOutput(const TableOutput& output, const QString& prefix,
                     std::optional<QString>& format, const ReportLine& err) {
    format.reset();
    if (!output.format && output.out.isEmpty())
        return 0;
    const QString named = output.format.value_or(QFileInfo(output.out).suffix());
    format = formatNamed(named);
    if (!format) {
        err(prefix + QStringLiteral("--format 只能是 txt、csv、xls、html、rtf 或 pdf，不能是“%1”")
                         .arg(named));
        return 2;
    }
    if (output.out.isEmpty()) {
        err(prefix + QStringLiteral("请用 --out 指定要写的文件"));
        return 2;
    }
    if (store::isBookOrItsFile(output.book, output.out)) {
        err(prefix + QStringLiteral("--out %1 不能是数据库文件 %2 或属于它的文件！")
                         .arg(output.out, output.book));
        return 2;
    }
    return 0;
}

int checkPrintingOperator(store::Connection& connection, const TableOutput& output,
                          const std::optional<QString>& format, const QString& prefix,
                          const ReportLine& err) {
    if (format != kPdf || hasOperator(connection, output.operatorName))
        return 0;
    err(prefix + QStringLiteral("操作员表中没有“%1”，请用 --operator 指定打印的操作员！")
                     .arg(output.operatorName));
    return 2;
}

QStringList tableLines(const QString& title, const lists::TableSnapshot& table) {
    QStringList lines = {title};
    QStringList cells;
    for (const lists::SnapshotColumn& column : table.columns)
        cells << column.title;
    lines << cells.join(QLatin1Char('\t'));
    for (const QList<lists::SnapshotCell>& row : table.rows) {
        cells.clear();
        for (const lists::SnapshotCell& cell : row)
            cells << cell.text;
        lines << cells.join(QLatin1Char('\t'));
    }
    cells.clear();
    for (const lists::SnapshotFooterCell& cell : table.footer)
        cells << cell.text;
    lines << cells.join(QLatin1Char('\t'));
    return lines;
}

void writeTableFile(const lists::TableSnapshot& table, const lists::PrintSetup& setup,
                    const TableOutput& output, const QString& format, const QString& what,
                    const ReportLine& out, const ReportLine& err) {
    if (format == kPdf) {
        lists::PrintSetup printed = setup;
        const QDateTime now = QDateTime::currentDateTime();
        lists::setStandardSubstitutions(printed, output.operatorName, now);
        const int pages = writeListPdf(table, printed, output.out, now);
        out(QStringLiteral("已把 %1打印到 %2，共 %3 页。").arg(what, output.out).arg(pages));
        return;
    }
    const int cutLabels = writeExportFile(*exportTypeNamed(format), table, output.out);
    out(QStringLiteral("已把 %1写入 %2。").arg(what, output.out));
    if (cutLabels > 0)
        err(lists::cutLabelsNotice(cutLabels));
}

} // namespace tools
