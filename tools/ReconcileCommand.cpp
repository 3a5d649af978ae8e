#include "ReconcileCommand.h"

#include "ListExport.h"
#include "ListPrint.h"

#include "journal/Reconciliation.h"
#include "journal/ReconciliationLayout.h"
#include "lists/ExportFormat.h"
#include "store/BookFiles.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DateTime.h"

#include <QFileInfo>

namespace tools {

namespace {

const QString kPrefix = QStringLiteral("tallomer-db reconcile: ");
const QString kPdf = QStringLiteral("pdf");

// The table as tab-separated lines under its title, as the other commands
// put their rows out.
QStringList textLines(const lists::TableSnapshot& table) {
    QStringList lines = {journal::reconciliationTitle()};
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

int runReconcile(const ReconcileRequest& request, const ReportLine& out, const ReportLine& err) {
    std::optional<QString> format;
    if (request.format || !request.out.isEmpty()) {
        const QString named = request.format.value_or(QFileInfo(request.out).suffix());
        format = formatNamed(named);
        if (!format) {
            err(kPrefix +
                QStringLiteral("--format 只能是 txt、csv、xls、html、rtf 或 pdf，不能是“%1”")
                    .arg(named));
            return 2;
        }
        if (request.out.isEmpty()) {
            err(kPrefix + QStringLiteral("请用 --out 指定要写的文件"));
            return 2;
        }
        if (store::isBookOrItsFile(request.book, request.out)) {
            err(kPrefix + QStringLiteral("--out %1 不能是数据库文件 %2 或属于它的文件！")
                              .arg(request.out, request.book));
            return 2;
        }
    }
    std::optional<QDate> month;
    if (request.month) {
        month = monthNamed(*request.month);
        if (!month) {
            err(kPrefix + QStringLiteral("--month 要写成 YYYY-MM 形式的月份，不能是“%1”")
                              .arg(*request.month));
            return 2;
        }
    }

    store::Connection connection;
    connection.setConnectionString(store::ConnectionString::forFile(request.book));
    connection.openToRead();
    if (request.bank.isEmpty() || !hasBankAccount(connection, request.bank)) {
        err(kPrefix + (request.bank.isEmpty()
                           ? QStringLiteral("请用 --bank 指定开户银行")
                           : QStringLiteral("没有开户银行“%1”").arg(request.bank)));
        return 2;
    }
    if (format == kPdf && !hasOperator(connection, request.operatorName)) {
        err(kPrefix + QStringLiteral("操作员表中没有“%1”，请用 --operator 指定打印的操作员！")
                          .arg(request.operatorName));
        return 2;
    }

    const QDate day = journal::monthEnd(month.value_or(closingMonth(connection)));
    const journal::Reconciliation r = journal::reconcile(connection.database(), request.bank, day);
    if (r.gap != journal::ReconciliationGap::None) {
        err(kPrefix + journal::gapMessage(r));
        return 1;
    }
    const lists::TableSnapshot table = journal::reconciliationTable(r);
    QString verdict = journal::agreementText(r);
    if (!r.agrees())
        verdict += QLatin1Char(' ') + r.difference().format(2, true);

    if (!format) {
        for (const QString& line : textLines(table))
            out(line);
        return 0;
    }
    if (*format == kPdf) {
        lists::PrintSetup setup = journal::reconciliationPrintSetup();
        const QDateTime now = QDateTime::currentDateTime();
        lists::setStandardSubstitutions(setup, request.operatorName, now);
        const int pages = writeListPdf(table, setup, request.out, now);
        out(QStringLiteral("已把 %1 %2 的余额调节表打印到 %3，共 %4 页。")
                .arg(request.bank, store::shortDateText(day), request.out)
                .arg(pages));
    } else {
        const int cutLabels = writeExportFile(*exportTypeNamed(*format), table, request.out);
        out(QStringLiteral("已把 %1 %2 的余额调节表写入 %3。")
                .arg(request.bank, store::shortDateText(day), request.out));
        if (cutLabels > 0)
            err(lists::cutLabelsNotice(cutLabels));
    }
    out(verdict);
    return 0;
}

} // namespace tools
