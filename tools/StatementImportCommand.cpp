#include "StatementImportCommand.h"

#include "ListExport.h"

#include "journal/StatementImport.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"

#include <QFileInfo>

namespace tools {

int runStatementImport(const StatementImportRequest& request, const ReportLine& out,
                       const ReportLine& err) {
    const QString prefix = QStringLiteral("tallomer-db statement-import: ");
    store::Connection connection;
    connection.setConnectionString(store::ConnectionString::forFile(request.book));
    if (request.dryRun)
        connection.openToRead();
    else
        connection.open();

    const std::optional<QString> operatorName =
        importOperator(connection, request.operatorName, prefix, err);
    if (!operatorName)
        return 2;
    if (!hasBankAccount(connection, request.bankAccount)) {
        err(prefix + QStringLiteral("开户银行“%1”不在开户银行设置中！").arg(request.bankAccount));
        return 2;
    }
    journal::StatementImportOptions options;
    options.account = request.bankAccount;
    options.operatorName = *operatorName;
    options.sourceFile = QFileInfo(request.file).fileName();
    options.dryRun = request.dryRun;
    journal::StatementImportResult result;
    try {
        result = journal::importStatement(connection.database(),
                                          lists::readImportFile(request.file), options);
    } catch (const lists::ImportFileError& e) {
        err(prefix + e.message());
        return 1;
    }
    if (!result.refused.isEmpty()) {
        reportRefusedRows(request.file, result.refused, prefix, err);
        return 1;
    }
    if (result.lines == 0) {
        err(prefix +
            QStringLiteral("文件 %1 中没有对账单的行，没有写入任何记录！").arg(request.file));
        return 1;
    }
    const QString period = QStringLiteral("（%1 至 %2）")
                               .arg(result.first.toString(QStringLiteral("yyyy-M-d")),
                                    result.last.toString(QStringLiteral("yyyy-M-d")));
    if (request.dryRun)
        out(QStringLiteral(
                "检查完毕：%1 行对账单可以导入%2%3，%4 行已经导入过（--dry-run，没有写入）。")
                .arg(result.added)
                .arg(request.bankAccount, period)
                .arg(result.alreadyThere));
    else
        out(QStringLiteral("已把 %1 行对账单导入%2%3，%4 行已经导入过。")
                .arg(result.added)
                .arg(request.bankAccount, period)
                .arg(result.alreadyThere));
    return 0;
}

} // namespace tools
