#include "JournalSearchCommand.h"

#include "ListExport.h"

#include "journal/JournalLayout.h"
#include "lists/CellText.h"
#include "lists/CopiedRows.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"

namespace tools {

int runSearch(const SearchRequest& request, const ReportLine& out, const ReportLine& err) {
    const QString prefix = QStringLiteral("tallomer-db search: ");
    store::Connection connection;
    connection.setConnectionString(store::ConnectionString::forFile(request.book));
    connection.openToRead();

    using journal::SearchCriteria;
    const journal::SearchFields fields = SearchCriteria::asTyped(request.fields);
    const QString account = fields.bankAccount.trimmed();
    if (request.kind == store::JournalKind::Bank && !account.isEmpty() &&
        !hasBankAccount(connection, fields.bankAccount)) {
        err(prefix + QStringLiteral("开户银行“%1”不在开户银行设置中！").arg(fields.bankAccount));
        return 2;
    }
    const journal::SearchProblem problem = SearchCriteria::check(request.kind, fields);
    if (problem != journal::SearchProblem::None) {
        err(prefix + SearchCriteria::problemText(problem));
        return 2;
    }
    const QString criteria = SearchCriteria::text(request.kind, fields);
    if (criteria.isEmpty()) {
        err(prefix + SearchCriteria::noCriteriaText());
        return 2;
    }
    err(QStringLiteral("查询条件：") + criteria);

    store::Query query(&connection);
    query.openWith(SearchCriteria::statement(request.kind, criteria));
    const QList<lists::GridColumn> columns = journal::journalColumns(request.kind);
    QStringList titles;
    QList<int> fieldsAt;
    for (const lists::GridColumn& c : columns) {
        titles << c.titleText();
        fieldsAt << query.fieldIndex(c.fieldName);
    }
    QList<QStringList> rows;
    rows.reserve(query.recordCount());
    for (int row = 0; row < query.recordCount(); ++row) {
        QStringList cells;
        for (const int field : fieldsAt)
            cells << (field < 0 ? QString() : lists::cellText(query.valueAt(row, field), query.fieldType(field)));
        rows << cells;
    }
    // The rows as the grid's copy puts them on the clipboard; `out` ends the last line.
    out(lists::tabSeparatedRows(titles, rows).chopped(1));
    if (query.isEmpty()) {
        err(prefix + QStringLiteral("没有找到合适的记录!"));
        return 1;
    }
    return 0;
}

} // namespace tools
