#include "SnapshotBuilder.h"

#include "CellText.h"

#include "store/Query.h"

#include <cmath>

namespace lists {

namespace {

store::FieldType typeOf(const store::Query& query, int field) {
    return field < 0 ? store::FieldType::Text : query.fieldType(field);
}

} // namespace

CellFont describeFont(const QFont& font) {
    CellFont f;
    f.family = font.family();
    f.pointSize = font.pointSize() > 0 ? font.pointSize()
                                       : int(std::lround(font.pixelSize() * 72.0 / 96.0));
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeOut = font.strikeOut();
    return f;
}

SnapshotFooterCell computeFooter(const store::Query& query, const GridColumn& column) {
    SnapshotFooterCell cell;
    cell.kind = column.footer;
    switch (column.footer) {
    case FooterKind::None:
        break;
    case FooterKind::StaticText:
        cell.text = column.footerText;
        break;
    case FooterKind::Count:
        cell.number = query.isOpen() ? query.recordCount() : 0;
        cell.text = QString::number(query.isOpen() ? query.recordCount() : 0);
        break;
    case FooterKind::Sum: {
        const int field = query.fieldIndex(column.fieldName);
        store::Currency sum;
        if (field >= 0) {
            const store::FieldType type = query.fieldType(field);
            for (int row = 0; row < query.recordCount(); ++row) {
                const QVariant v = query.valueAt(row, field);
                if (!v.isNull())
                    sum += store::valueToCurrency(v, type);
            }
        }
        cell.number = double(sum.raw()) / store::Currency::kScale;
        cell.text = sum.format(2, true);
        break;
    }
    }
    return cell;
}

TableSnapshot buildSnapshot(const store::Query& query, const QList<GridColumn>& columns,
                            const GridStyle& style) {
    TableSnapshot snapshot;
    snapshot.threeDimensionalFrame = style.threeDimensionalFrame;
    snapshot.titleFont = describeFont(style.titleFont);
    snapshot.footerFont = describeFont(style.footerFont);
    const CellFont cellFont = describeFont(style.cellFont);

    QList<int> fields;
    for (const GridColumn& c : columns) {
        const int field = c.fieldName.isEmpty() ? -1 : query.fieldIndex(c.fieldName);
        fields << field;
        const store::FieldType type = typeOf(query, field);
        SnapshotColumn column;
        column.title = c.titleText();
        column.fieldName = c.fieldName;
        column.width = c.width;
        column.alignment = isNumeric(type) ? Qt::AlignRight : Qt::AlignLeft;
        column.font = cellFont;
        column.kind = field < 0 ? CellKind::Text : cellKind(type);
        column.footerKind = c.footer;
        column.footerAlignment = column.alignment;
        column.keepWhole = field >= 0 && isDateOrNumber(type);
        snapshot.columns << column;
        snapshot.footer << computeFooter(query, c);
    }
    const int rows = query.isOpen() ? query.recordCount() : 0;
    snapshot.rows.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QColor background =
            style.dichromatic && row % 2 == 0 ? kDichromaticColor : QColor(255, 255, 255);
        QList<SnapshotCell> cells;
        cells.reserve(columns.size());
        for (int c = 0; c < columns.size(); ++c) {
            SnapshotCell cell;
            cell.background = background;
            const int field = fields[c];
            if (field >= 0) {
                const QVariant value = query.valueAt(row, field);
                const store::FieldType type = query.fieldType(field);
                cell.isNull = value.isNull();
                cell.text = cellText(value, type);
                if (!cell.isNull) {
                    if (snapshot.columns[c].kind == CellKind::Integer)
                        cell.integer = store::valueToInteger(value, type);
                    else if (snapshot.columns[c].kind == CellKind::Number)
                        cell.number = type == store::FieldType::Currency
                                          ? double(store::valueToCurrency(value, type).raw()) /
                                                store::Currency::kScale
                                          : value.toDouble();
                }
            }
            cells << cell;
        }
        snapshot.rows << cells;
    }
    return snapshot;
}

} // namespace lists
