#include "FormulaGuard.h"

#include "TableSnapshot.h"

namespace lists {

namespace {

bool beginsLikeAFormula(QStringView text) {
    while (!text.isEmpty()) {
        switch (text.front().unicode()) {
        case u'=':
        case u'+':
        case u'-':
        case u'@':
        case u'\t':
        case u'\r':
            return true;
        case u'\'':
            text = text.mid(1);
            continue;
        default:
            return false;
        }
    }
    return false;
}

} // namespace

bool needsFormulaGuard(const SnapshotColumn& column, const QString& text) {
    return column.kind == CellKind::Text && !column.keepWhole && beginsLikeAFormula(text);
}

QString withoutFormulaGuard(const QString& text) {
    if (text.startsWith(QLatin1Char('\'')) && beginsLikeAFormula(QStringView(text).mid(1)))
        return text.mid(1);
    return text;
}

} // namespace lists
