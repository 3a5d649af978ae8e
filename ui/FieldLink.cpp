#include "FieldLink.h"

#include "DataSource.h"

#include "store/EngineError.h"

namespace ui {

using store::QueryState;

namespace {

bool isEditState(QueryState state) {
    return state == QueryState::Edit || state == QueryState::Insert;
}

} // namespace

FieldLink::FieldLink(Show show, Write write)
    : m_show(std::move(show))
    , m_write(std::move(write)) {}

void FieldLink::setDataSource(DataSource* source) {
    if (m_source == source)
        return;
    disconnect(m_sourceConnection);
    m_source = source;
    if (source) {
        m_sourceConnection =
            connect(source, &DataSource::queryChanged, this, [this](store::Query* q) {
                bind(q);
                requireField();
            });
        connect(source, &QObject::destroyed, this, [this] { bind(nullptr); });
    }
    bind(source ? source->query() : nullptr);
    requireField();
}

DataSource* FieldLink::dataSource() const {
    return m_source;
}

void FieldLink::setFieldName(const QString& name) {
    if (m_fieldName == name)
        return;
    m_fieldName = name;
    m_column = -1;
    m_modified = false;
    refresh();
    requireField();
}

void FieldLink::requireField() const {
    store::Query* q = m_query;
    if (q && q->isOpen() && !m_fieldName.isEmpty() && !field())
        q->fieldByName(m_fieldName); // raises the engine's error naming the field
}

store::Query* FieldLink::query() const {
    return m_query;
}

std::optional<store::Field> FieldLink::field() const {
    store::Query* q = m_query;
    if (!q || !q->isOpen() || m_fieldName.isEmpty())
        return std::nullopt;
    // The cache is checked by name, since the query may have been reopened on
    // another statement while its signals were suspended.
    if (m_column < 0 || m_column >= q->fieldCount() ||
        q->fieldName(m_column).compare(m_fieldName, Qt::CaseInsensitive) != 0)
        m_column = q->fieldIndex(m_fieldName);
    if (m_column < 0)
        return std::nullopt;
    return q->field(m_column);
}

bool FieldLink::isEditing() const {
    return m_query && isEditState(m_query->state());
}

bool FieldLink::canModify() const {
    return field() && !m_query->isReadOnly();
}

bool FieldLink::edit() {
    if (!canModify())
        return false;
    if (isEditing())
        return true;
    // The control that starts the edit keeps what the user typed, also when
    // edit() begins a new row and moves the cursor to it.
    m_editing = true;
    try {
        m_query->edit();
    } catch (const store::EngineError&) {
        m_editing = false;
        return false;
    }
    m_editing = false;
    return true;
}

void FieldLink::userChanged() {
    if (m_showing)
        return;
    if (edit()) {
        m_modified = true;
    } else {
        m_modified = false;
        refresh();
    }
}

void FieldLink::updateRecord() {
    if (!m_modified)
        return;
    std::optional<store::Field> f = field();
    if (!f || !isEditing()) {
        m_modified = false;
        return;
    }
    m_write(*f);
    m_modified = false;
}

bool FieldLink::updateRecordQuietly() {
    try {
        updateRecord();
        return true;
    } catch (const store::EngineError&) {
        return false;
    }
}

void FieldLink::reset() {
    m_modified = false;
    refresh();
}

void FieldLink::bind(store::Query* query) {
    for (const QMetaObject::Connection& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_query = query;
    m_column = -1;
    if (query) {
        m_connections = {
            connect(query, &store::Query::reset, this,
                    [this] {
                        m_column = -1;
                        reset();
                        requireField();
                    }),
            connect(query, &store::Query::currentChanged, this, [this] { onCurrentChanged(); }),
            connect(query, &store::Query::rowChanged, this, [this](int row) { onRowChanged(row); }),
            connect(query, &store::Query::fieldChanged, this,
                    [this](int column) { onFieldChanged(column); }),
            connect(query, &store::Query::stateChanged, this,
                    [this](QueryState state) { onStateChanged(state); }),
            connect(query, &store::Query::updateRecordRequested, this, [this] { updateRecord(); }),
            connect(query, &store::Query::aboutToClose, this, [this] { m_modified = false; }),
            connect(query, &QObject::destroyed, this, [this] { reset(); }),
        };
    }
    reset();
}

void FieldLink::refresh() {
    if (!m_show || m_showing)
        return;
    m_showing = true;
    try {
        m_show();
    } catch (...) {
        m_showing = false;
        throw;
    }
    m_showing = false;
}

void FieldLink::onCurrentChanged() {
    if (!m_editing)
        reset();
}

void FieldLink::onRowChanged(int row) {
    // In Edit and Insert state a row change reports a field being set, which
    // fieldChanged already told; only a posted or cancelled row is shown anew.
    if (m_editing || !m_query || row != m_query->currentIndex() || isEditState(m_query->state()))
        return;
    reset();
}

void FieldLink::onFieldChanged(int column) {
    if (m_editing)
        return;
    std::optional<store::Field> f = field();
    if (f && f->index() == column)
        reset();
}

void FieldLink::onStateChanged(QueryState state) {
    if (!m_editing && !isEditState(state))
        reset();
}

} // namespace ui
