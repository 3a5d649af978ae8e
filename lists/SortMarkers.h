#pragma once

#include <QList>
#include <QString>

namespace lists {

enum class SortMarker { None, Ascending, Descending };

/// The sort markers of a grid's title row: which columns are marked, in the
/// order they were marked, and how a title click steps them.
class SortMarkers {
public:
    /// A plain click clears the other columns and steps this one
    /// none -> ascending -> descending -> ascending.
    void click(int column);
    /// A click with Ctrl keeps the others and steps this one
    /// none -> ascending -> descending -> none.
    void ctrlClick(int column);
    void clear() { m_marked.clear(); }

    SortMarker marker(int column) const;
    /// 1-based position in the sort order, 0 when not marked.
    int position(int column) const;
    /// The marked columns, in the order of the ORDER BY clause.
    QList<int> markedColumns() const;

    /// " ORDER BY 日期 DESC , 摘要" from the marked columns' field names, or
    /// empty text when nothing is marked.
    QString orderByClause(const QList<QString>& fieldNames) const;

private:
    struct Mark {
        int column;
        SortMarker marker;
    };
    int indexOf(int column) const;
    QList<Mark> m_marked;
};

} // namespace lists
