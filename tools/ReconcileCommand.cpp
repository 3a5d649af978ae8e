#include "ReconcileCommand.h"

#include "ListExport.h"
#include "TableOutput.h"

#include "journal/Reconciliation.h"
#include "journal/ReconciliationLayout.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DateTime.h"

namespace tools {

namespace {

const QString kPrefix = QStringLiteral("tallomer-db reconcile: ");

} // namespace

int runReconcile(const ReconcileRequest& request, const ReportLine& out, const ReportLine& err) {
    const TableOutput output{request.book, request.format, request.out, request.operatorName};
    std::optional<QString> format;
    if (const int status = checkTableOutput(output, kPrefix, format, err))
        return status;
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
    if (const int status = checkPrintingOperator(connection, output, format, kPrefix, err))
        return status;

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
        for (const QString& line : tableLines(journal::reconciliationTitle(), table))
            out(line);
        return 0;
    }
    writeTableFile(
        table, journal::reconciliationPrintSetup(), output, *format,
        QStringLiteral("%1 %2 的余额调节表").arg(request.bank, store::shortDateText(day)), out,
        err);
    out(verdict);
    return 0;
}

} // namespace tools
