#pragma once

#include "GridColumn.h"

#include <QAbstractTableModel>
#include <QPointer>

#include "store/Query.h"

namespace store {
class Query;
}

namespace lists {

/// The rows of a shared query as a table, through a grid's columns in display
/// order. Follows the query: opening, closing, appended, deleted and edited rows.
class QueryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// True for the cells of a column of dates or numbers, which are shown
    /// whole or not at all.
    static constexpr int KeepWholeRole = Qt::UserRole + 1;

    explicit QueryTableModel(QObject* parent = nullptr);

    void setQuery(store::Query* query);
    store::Query* query() const { return m_query; }
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    /// A column's static footer text, the rows left as they are.
    void setFooterText(int column, const QString& text) { m_columns[column].footerText = text; }
    void setHeaderTexts(const QStringList& texts);
    void setDichromatic(bool on);
    bool dichromatic() const { return m_dichromatic; }
    /// Whether the column shows dates or numbers.
    bool keepsWhole(int column) const;
    /// Numbers to the right, everything else to the left; known from the
    /// column's type, so also while there are no rows.
    Qt::Alignment alignment(int column) const;
    /// While the query drops a row: the views' own choice of the row that
    /// becomes current is not the query's, which follows.
    bool removingRows() const { return m_removingRows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    /// The rows changed in any way; footers recompute.
    void contentsChanged();

private:
    void resolveFields();
    void followCurrent(int row);

    QPointer<store::Query> m_query;
    QList<GridColumn> m_columns;
    QList<int> m_fields;
    QStringList m_headerTexts;
    bool m_dichromatic = false;
    int m_current = -1;
    bool m_removingRows = false;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace lists
