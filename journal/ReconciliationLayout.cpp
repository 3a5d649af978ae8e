#include "ReconciliationLayout.h"

#include "BankMatching.h"
#include "Reconciliation.h"

#include "lists/SnapshotBuilder.h"
#include "store/DateTime.h"
#include "ui/Fonts.h"

#include <algorithm>
#include <optional>

namespace journal {

namespace {

using lists::SnapshotCell;
using store::Currency;

constexpr int kItem = 0, kDate = 1, kAmount = 2, kSide = 3; // column within a side

// Items stand indented under their heading.
const QString kIndent = QStringLiteral("　　");

SnapshotCell textCell(const QString& text) {
    SnapshotCell cell;
    cell.text = text;
    cell.isNull = text.isEmpty();
    return cell;
}

SnapshotCell amountCell(Currency amount) {
    SnapshotCell cell;
    cell.text = amount.format(2, true);
    cell.isNull = false;
    cell.number = double(amount.raw()) / Currency::kScale;
    return cell;
}

using Row = QList<SnapshotCell>;

Row emptyRow() {
    return Row(2 * kSide);
}

void setLine(Row& row, int side, const QString& text, std::optional<Currency> amount = {}) {
    row[side * kSide + kItem] = textCell(text);
    if (amount)
        row[side * kSide + kAmount] = amountCell(*amount);
}

void setItem(Row& row, int side, const ReconciliationItem& item) {
    row[side * kSide + kItem] = textCell(kIndent + item.text);
    row[side * kSide + kDate] = textCell(store::shortDateText(item.date));
    row[side * kSide + kAmount] = amountCell(item.amount);
}

// A heading with its total on each side, then the items of both sides next
// to each other, as many rows as the longer list needs.
void appendSection(QList<Row>& rows, const QString& left,
                   const QList<ReconciliationItem>& leftItems, const QString& right,
                   const QList<ReconciliationItem>& rightItems) {
    Row heading = emptyRow();
    setLine(heading, 0, left, Reconciliation::total(leftItems));
    setLine(heading, 1, right, Reconciliation::total(rightItems));
    rows << heading;
    for (qsizetype i = 0; i < std::max(leftItems.size(), rightItems.size()); ++i) {
        Row row = emptyRow();
        if (i < leftItems.size())
            setItem(row, 0, leftItems[i]);
        if (i < rightItems.size())
            setItem(row, 1, rightItems[i]);
        rows << row;
    }
}

lists::SnapshotColumn column(const QString& title, int width, const lists::CellFont& font,
                             bool amount, bool whole) {
    lists::SnapshotColumn c;
    c.title = title;
    c.fieldName = title; // a worksheet writes the cells of columns that have a field
    c.width = width;
    c.font = font;
    c.alignment = amount ? Qt::AlignRight : Qt::AlignLeft;
    c.footerAlignment = c.alignment;
    c.kind = amount ? lists::CellKind::Number : lists::CellKind::Text;
    c.keepWhole = whole;
    return c;
}

} // namespace

QString reconciliationTitle() {
    return QStringLiteral("银行存款余额调节表");
}

QString agreementText(const Reconciliation& r) {
    if (r.agrees())
        return QStringLiteral("调节后的存款余额相符");
    return QStringLiteral("调节后的存款余额不符，差额");
}

lists::TableSnapshot reconciliationTable(const Reconciliation& r) {
    lists::TableSnapshot table;
    const lists::CellFont font = lists::describeFont(ui::songFont(12));
    table.titleFont = font;
    table.footerFont = font;
    for (int side = 0; side < 2; ++side) {
        table.columns << column(QStringLiteral("项目"), 200, font, false, false)
                      << column(QStringLiteral("日期"), 72, font, false, true)
                      << column(QStringLiteral("金额"), 104, font, true, true);
    }

    Row heading = emptyRow();
    setLine(heading, 0, QStringLiteral("开户银行：") + r.account);
    setLine(heading, 1, QStringLiteral("截止日期：") + store::shortDateText(r.day));
    table.rows << heading;
    Row balances = emptyRow();
    setLine(balances, 0, QStringLiteral("企业银行存款日记账余额"), r.bookBalance);
    setLine(balances, 1, QStringLiteral("银行对账单余额"), r.bankBalance);
    table.rows << balances;
    appendSection(table.rows, QStringLiteral("加：银行已收、企业未收"), r.bankReceipts,
                  QStringLiteral("加：企业已收、银行未收"), r.bookReceipts);
    appendSection(table.rows, QStringLiteral("减：银行已付、企业未付"), r.bankPayments,
                  QStringLiteral("减：企业已付、银行未付"), r.bookPayments);
    Row adjusted = emptyRow();
    setLine(adjusted, 0, QStringLiteral("调节后的存款余额"), r.adjustedBook());
    setLine(adjusted, 1, QStringLiteral("调节后的存款余额"), r.adjustedBank());
    table.rows << adjusted;

    table.footer = QList<lists::SnapshotFooterCell>(table.columns.size());
    table.footer[kItem] = {agreementText(r), lists::FooterKind::StaticText, 0.0};
    if (const Currency difference = r.difference(); !difference.isZero()) {
        table.footer[kAmount] = {BankMatching::amountText(difference), lists::FooterKind::Sum,
                                 double(difference.raw()) / Currency::kScale};
    }
    return table;
}

lists::PrintSetup reconciliationPrintSetup() {
    return lists::PrintSetup::standard(reconciliationTitle());
}

} // namespace journal
