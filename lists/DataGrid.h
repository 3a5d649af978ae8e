#pragma once

#include "GridColumn.h"
#include "SnapshotBuilder.h"
#include "SortMarkers.h"
#include "TableSnapshot.h"

#include <QWidget>

#include <memory>

class QKeyEvent;
class QTableView;

namespace store {
class Query;
}

namespace lists {

class CellTextMeasurer;
class GridFooter;
class QueryTableModel;
class WholeValueDelegate;

/// The data grid of every list window: the rows of one shared query, whole-row
/// selection following the query's cursor, a footer row, two-colour rows,
/// fitting to the width, hidden columns and sort markers on the title row.
/// Nothing is edited in the grid itself.
class DataGrid : public QWidget {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setQuery(store::Query* query);
    store::Query* query() const;

    /// The columns in display order; all visible, no markers.
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const;
    int columnCount() const { return int(columns().size()); }
    bool isColumnVisible(int column) const;
    int visibleColumnCount() const;
    void setColumnVisible(int column, bool visible);
    /// Moves a column to another position in the display order.
    void moveColumn(int from, int to);
    int indexOfField(const QString& fieldName) const;
    /// The width a column is shown with now.
    int columnWidth(int column) const;
    /// The width a column of dates or numbers needs for its longest text
    /// (cells, footer, title) in the fonts it is drawn with; 0 for others.
    int neededWidth(int column) const { return m_neededWidths.value(column); }

    /// 宋体 at the given pixel sizes for cells and titles, and for the footer.
    void setFontSizes(int cellPixels, int footerPixels);
    void setDichromatic(bool on);
    bool dichromatic() const;
    /// Scales the visible columns to fill the width; off: the designed widths.
    /// Either way a column of dates or numbers is at least as wide as it needs.
    /// Widths the user drags replace the designed ones for the grid's life.
    void setFitToWidth(bool on);
    bool fitToWidth() const { return m_fit; }
    void setThreeDimensionalFrame(bool on) { m_threeDimensional = on; }
    /// On: Ctrl+A selects every row, Shift and Ctrl clicks select several, and
    /// Ctrl+C copies the selected rows. Off: one row is selected and both keys
    /// do nothing.
    void setCopyAndSelectAll(bool on);

    const SortMarkers& markers() const { return m_markers; }
    /// " ORDER BY ..." from the marked columns, empty when none is marked.
    QString orderByClause() const;
    void clearMarkers();

    /// Replaces the footer texts of the columns whose footer is static text,
    /// for totals a window works out itself; other columns keep theirs.
    void setFooterTexts(const QStringList& texts);
    /// The footer text of a column; "超出范围" for a sum beyond the amount range.
    QString footerText(int column) const;
    /// What a body cell and a footer cell show at the column's width now: a
    /// date or number that does not fit shows "#" marks.
    QString shownText(int row, int column) const;
    QString shownFooterText(int column) const;
    /// The background a row's cells are painted with.
    QColor rowBackground(int row) const;
    /// Visible columns in display order, every record, the footer.
    TableSnapshot snapshot() const;

    QTableView* view() const { return m_view; }

signals:
    /// The sort markers changed: at once for a plain click, on releasing Ctrl
    /// (or leaving the grid) for clicks with Ctrl held.
    void sortChanged();
    void rowDoubleClicked();
    /// A double click in the body where there is no row, as in an empty grid.
    void blankDoubleClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void titleClicked(int column, bool withCtrl);
    void reportPendingSort();
    void refreshHeaders();
    void refreshFooter();
    bool measureWholeColumns(const QStringList& footers);
    void applyWidths();
    QList<int> shownColumns() const;
    qreal narrowestWidth(int column) const;
    void setWidths(const QList<int>& columns, const QList<int>& widths);
    void userResized(int column, int width);
    void keepArrangement();
    void copySelectedRows() const;
    /// Enter, copy and select-all; true when the key was taken.
    bool gridKey(QKeyEvent* key);
    void followQueryCursor(int row);
    GridStyle style() const;

    QTableView* m_view;
    QueryTableModel* m_model;
    GridFooter* m_footer;
    WholeValueDelegate* m_delegate;
    SortMarkers m_markers;
    QList<bool> m_visible;
    bool m_fit = false;
    bool m_threeDimensional = false;
    bool m_sortPending = false;
    bool m_lastPressHadCtrl = false;
    bool m_followingQuery = false;
    bool m_copyAndSelectAll = true;
    // Widths the columns are laid out from: the designed ones until the user drags.
    QList<int> m_baseWidths;
    // Columns whose width the user chose by dragging.
    QList<bool> m_dragged;
    // The body width the user's arrangement fills; -1 while there is none.
    int m_arrangedFor = -1;
    int m_laidOutFor = -1;
    // While above 0 the grid sizes, hides or resets the sections itself.
    int m_sizingSections = 0;
    bool m_titlePressed = false;
    bool m_resizedWhilePressed = false;
    QFont m_cellFont;
    QFont m_footerFont;
    std::unique_ptr<CellTextMeasurer> m_cellMeasurer;
    std::unique_ptr<CellTextMeasurer> m_footerMeasurer;
    QList<int> m_neededWidths;
};

} // namespace lists
