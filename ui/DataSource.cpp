#include "DataSource.h"

namespace ui {

DataSource::DataSource(QObject* parent)
    : QObject(parent) {}

DataSource::DataSource(store::Query* query, QObject* parent)
    : QObject(parent)
    , m_query(query) {}

void DataSource::setQuery(store::Query* query) {
    if (m_query == query)
        return;
    m_query = query;
    emit queryChanged(query);
}

store::QueryState DataSource::state() const {
    return m_query ? m_query->state() : store::QueryState::Inactive;
}

bool DataSource::isOpen() const {
    return m_query && m_query->isOpen();
}

bool DataSource::isEditing() const {
    const store::QueryState s = state();
    return s == store::QueryState::Edit || s == store::QueryState::Insert;
}

} // namespace ui
