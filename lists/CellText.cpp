#include "CellText.h"

namespace lists {

QString cellText(const QVariant& value, store::FieldType type) {
    if (value.isNull())
        return QString();
    if (type == store::FieldType::Currency)
        return store::valueToCurrency(value, type).format(2, true);
    return store::valueToString(value, type);
}

bool isNumeric(store::FieldType type) {
    switch (type) {
    case store::FieldType::Currency:
    case store::FieldType::Integer:
    case store::FieldType::Counter:
    case store::FieldType::Float:
        return true;
    default:
        return false;
    }
}

bool isDateOrNumber(store::FieldType type) {
    return isNumeric(type) || type == store::FieldType::DateTime;
}

CellKind cellKind(store::FieldType type) {
    switch (type) {
    case store::FieldType::Integer:
    case store::FieldType::Counter:
        return CellKind::Integer;
    case store::FieldType::Currency:
    case store::FieldType::Float:
        return CellKind::Number;
    default:
        return CellKind::Text;
    }
}

} // namespace lists
