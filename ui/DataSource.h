#pragma once

#include "store/Query.h"

#include <QObject>
#include <QPointer>

namespace ui {

/// The link between one dataset and the data-aware controls that show its
/// current row, as a window's `ds_` component is: controls bind to the data
/// source, so the window can swap the query under all of them at once.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    explicit DataSource(store::Query* query, QObject* parent = nullptr);

    /// The query the controls follow; null when none is set or it was destroyed.
    store::Query* query() const { return m_query; }
    void setQuery(store::Query* query);

    /// The query's state, Inactive when there is no query.
    store::QueryState state() const;
    /// A query is set and open.
    bool isOpen() const;
    /// The query is in Edit or Insert state.
    bool isEditing() const;

signals:
    /// Emitted after setQuery() changed the query; controls re-bind and re-read.
    void queryChanged(store::Query* query);

private:
    QPointer<store::Query> m_query;
};

} // namespace ui
