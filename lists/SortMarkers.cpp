#include "SortMarkers.h"

namespace lists {

int SortMarkers::indexOf(int column) const {
    for (int i = 0; i < m_marked.size(); ++i) {
        if (m_marked[i].column == column)
            return i;
    }
    return -1;
}

void SortMarkers::click(int column) {
    const SortMarker current = marker(column);
    m_marked = {{column, current == SortMarker::Ascending ? SortMarker::Descending : SortMarker::Ascending}};
}

void SortMarkers::ctrlClick(int column) {
    const int i = indexOf(column);
    if (i < 0)
        m_marked.append({column, SortMarker::Ascending});
    else if (m_marked[i].marker == SortMarker::Ascending)
        m_marked[i].marker = SortMarker::Descending;
    else
        m_marked.removeAt(i);
}

SortMarker SortMarkers::marker(int column) const {
    const int i = indexOf(column);
    return i < 0 ? SortMarker::None : m_marked[i].marker;
}

int SortMarkers::position(int column) const { return indexOf(column) + 1; }

QList<int> SortMarkers::markedColumns() const {
    QList<int> columns;
    for (const Mark& m : m_marked)
        columns << m.column;
    return columns;
}

QString SortMarkers::orderByClause(const QList<QString>& fieldNames) const {
    QString text;
    for (const Mark& m : m_marked) {
        text += fieldNames.value(m.column);
        text += m.marker == SortMarker::Descending ? QStringLiteral(" DESC , ") : QStringLiteral(", ");
    }
    if (text.isEmpty())
        return text;
    text.chop(2);
    return QStringLiteral(" ORDER BY ") + text;
}

} // namespace lists
