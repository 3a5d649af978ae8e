#include "DailyFundsLayout.h"

#include "DailyFunds.h"

#include "lists/SnapshotBuilder.h"
#include "ui/Fonts.h"

namespace stats {

namespace {

constexpr int kFirstAmount = 2, kFirstCount = 6;

lists::CellKind kindOf(int column) {
    if (column >= kFirstCount)
        return lists::CellKind::Integer;
    return column >= kFirstAmount ? lists::CellKind::Number : lists::CellKind::Text;
}

// The number a worksheet stores for a cell; amounts in units, counts as they are.
double numberOf(const DailyFundsRow& row, int column) {
    const store::Currency amounts[] = {row.opening, row.receipts, row.payments, row.closing};
    if (column >= kFirstCount)
        return double(column == kFirstCount ? row.receiptCount : row.paymentCount);
    return double(amounts[column - kFirstAmount].raw()) / store::Currency::kScale;
}

} // namespace

lists::TableSnapshot dailyFundsTable(const DailyFundsReport& report) {
    lists::TableSnapshot table;
    const lists::CellFont font = lists::describeFont(ui::songFont(12));
    table.titleFont = font;
    table.footerFont = font;
    const QStringList titles = dailyFundsTitles();
    const int widths[] = {80, 140, 110, 110, 110, 110, 70, 70};
    for (int c = 0; c < titles.size(); ++c) {
        lists::SnapshotColumn column;
        column.title = titles[c];
        column.fieldName = titles[c]; // a worksheet writes the cells of columns that have a field
        column.width = widths[c];
        column.font = font;
        column.kind = kindOf(c);
        column.alignment = c >= kFirstAmount ? Qt::AlignRight : Qt::AlignLeft;
        column.footerAlignment = column.alignment;
        column.keepWhole = c != 1;
        table.columns << column;
    }
    const auto cellsOf = [](const DailyFundsRow& row) {
        QList<lists::SnapshotCell> cells;
        const QStringList texts = dailyFundsCells(row);
        for (int c = 0; c < texts.size(); ++c) {
            lists::SnapshotCell cell;
            cell.text = texts[c];
            cell.isNull = texts[c].isEmpty();
            if (c >= kFirstCount)
                cell.integer = qint64(numberOf(row, c));
            else if (c >= kFirstAmount)
                cell.number = numberOf(row, c);
            cells << cell;
        }
        return cells;
    };
    for (const DailyFundsRow& row : report.rows)
        table.rows << cellsOf(row);
    const QStringList footer = dailyFundsFooter(report);
    for (int c = 0; c < footer.size(); ++c) {
        const bool number = c >= kFirstAmount;
        table.footer << lists::SnapshotFooterCell{
            footer[c], number ? lists::FooterKind::Sum : lists::FooterKind::StaticText,
            number ? numberOf(report.totals, c) : 0.0};
    }
    return table;
}

lists::PrintSetup dailyFundsPrintSetup() {
    return lists::PrintSetup::standard(QStringLiteral("资金日报表"));
}

} // namespace stats
