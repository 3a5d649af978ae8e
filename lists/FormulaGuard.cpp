#include "FormulaGuard.h"

#include "TableSnapshot.h"

namespace lists {

bool needsFormulaGuard(const SnapshotColumn& column, const QString& text) {
    if (text.isEmpty() || column.kind != CellKind::Text || column.keepWhole)
        return false;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    default:
        return false;
    }
}

} // namespace lists
