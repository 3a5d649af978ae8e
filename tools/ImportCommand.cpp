#include "ImportCommand.h"

#include "JournalImport.h"
#include "ListExport.h"
#include "ListPrint.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"

namespace tools {

QString indentedRowText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QStringLiteral("    ") + text.replace(QLatin1Char('\n'), QStringLiteral("\n    "));
}

std::optional<QString> importOperator(store::Connection& connection,
                                      const std::optional<QString>& asked, const QString& prefix,
                                      const ReportLine& err) {
    const QString standard = QStringLiteral("系统管理员");
    if (!asked)
        return hasOperator(connection, standard) ? standard : QString();
    if (!hasOperator(connection, *asked)) {
        err(prefix + QStringLiteral("操作员表中没有“%1”！").arg(*asked));
        return std::nullopt;
    }
    return *asked;
}

int runImport(const ImportRequest& request, const ReportLine& out, const ReportLine& err) {
    const QString prefix = QStringLiteral("tallomer-db import: ");
    store::Connection connection;
    connection.setConnectionString(store::ConnectionString::forFile(request.book));
    if (request.dryRun)
        connection.openToRead();
    else
        connection.open();

    ImportOptions options;
    options.kind = request.kind;
    options.bankAccount = request.bankAccount;
    options.addSummaries = request.addSummaries;
    options.dryRun = request.dryRun;
    const std::optional<QString> operatorName =
        importOperator(connection, request.operatorName, prefix, err);
    if (!operatorName)
        return 2;
    options.operatorName = *operatorName;
    if (!request.bankAccount.isEmpty() && !hasBankAccount(connection, request.bankAccount)) {
        err(prefix + QStringLiteral("开户银行“%1”不在开户银行设置中！").arg(request.bankAccount));
        return 2;
    }

    ImportResult result;
    try {
        result = importJournal(connection, lists::readImportFile(request.file), options);
    } catch (const lists::ImportFileError& e) {
        err(prefix + e.message());
        return 1;
    }
    if (!result.refused.isEmpty()) {
        reportRefusedRows(request.file, result.refused, prefix, err);
        return 1;
    }
    if (result.entries == 0) {
        err(prefix + QStringLiteral("文件 %1 中没有记录，没有写入任何记录！").arg(request.file));
        return 1;
    }
    const QString table = store::journalTable(request.kind);
    for (const AddedSummary& s : result.addedSummaries)
        out((request.dryRun ? QStringLiteral("将增加摘要：%1（%2）")
                            : QStringLiteral("已增加摘要：%1（%2）"))
                .arg(s.name, s.attribute));
    if (request.dryRun)
        out(QStringLiteral("检查完毕：%1 条记录都可以导入%2（--dry-run，没有写入）。")
                .arg(result.entries)
                .arg(table));
    else
        out(QStringLiteral("已把 %1 条记录导入%2，重新计算了 %3 个月份的余额。")
                .arg(result.entries)
                .arg(table)
                .arg(result.recomputedMonths));
    return 0;
}

} // namespace tools
