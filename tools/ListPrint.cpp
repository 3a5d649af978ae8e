#include "ListPrint.h"

#include "lists/PrintDocument.h"
#include "lists/PrintOutput.h"
#include "lists/PrintSetup.h"
#include "store/EngineError.h"
#include "store/Statement.h"
#include "store/Connection.h"
#include "store/SystemErrorText.h"
#include "store/WholeFile.h"
#include "ui/Fonts.h"

#include <QSaveFile>

namespace tools {

bool listPrints(ExportList list) {
    return list != ExportList::Summaries && list != ExportList::BankAccounts;
}

bool hasOperator(store::Connection& connection, const QString& name) {
    store::Statement s(connection.database(),
                       QStringLiteral("select count(*) from 权限表 where 姓名 = ?"));
    s.bindText(1, name);
    return s.step() && s.int64(0) > 0;
}

PrintResult printList(store::Connection& connection, const PrintRequest& request) {
    ui::installFontSubstitutions();
    ListSnapshot list =
        listSnapshot(connection, request.list, request.month, request.bankAccount, true);
    PrintResult result;
    result.records = int(list.snapshot.rows.size());
    if (result.records == 0)
        return result;

    lists::PrintSetup setup = lists::listWindowPrintSetup(list.traits);
    lists::setStandardSubstitutions(setup, request.operatorName, request.printedAt);
    result.pages = writeListPdf(std::move(list.snapshot), setup, request.path, request.printedAt);
    return result;
}

int writeListPdf(lists::TableSnapshot table, const lists::PrintSetup& setup, const QString& path,
                 const QDateTime& printedAt) {
    ui::installFontSubstitutions();
    const lists::PageCanvas canvas = lists::pdfCanvas(setup);
    lists::PrintDocument document(std::move(table), setup, canvas, printedAt);
    document.layOut();

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw store::EngineError(
            QStringLiteral("不能建立文件 %1：%2！").arg(path, store::deviceErrorText(file)));
    if (!lists::writePdf(document, file)) {
        file.cancelWriting();
        throw store::EngineError(
            QStringLiteral("不能写入文件 %1：%2！").arg(path, store::deviceErrorText(file)));
    }
    if (const QString reason = store::commitWholeFile(file); !reason.isEmpty())
        throw store::EngineError(QStringLiteral("不能写入文件 %1：%2！").arg(path, reason));
    return document.pageCount();
}

} // namespace tools
