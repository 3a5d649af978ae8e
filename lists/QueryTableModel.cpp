#include "QueryTableModel.h"

#include "CellText.h"
#include "SnapshotBuilder.h"

#include "store/Query.h"

namespace lists {

QueryTableModel::QueryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void QueryTableModel::setQuery(store::Query* query) {
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    beginResetModel();
    m_query = query;
    m_current = query ? query->currentIndex() : -1;
    resolveFields();
    endResetModel();
    if (!query)
        return;
    m_connections << connect(query, &store::Query::reset, this, [this] {
        beginResetModel();
        resolveFields();
        m_current = m_query->currentIndex();
        endResetModel();
        emit contentsChanged();
    });
    m_connections << connect(query, &store::Query::rowInserted, this, [this](int row) {
        beginInsertRows(QModelIndex(), row, row);
        endInsertRows();
        emit contentsChanged();
    });
    m_connections << connect(query, &store::Query::rowAboutToBeRemoved, this, [this](int row) {
        m_removingRows = true;
        beginRemoveRows(QModelIndex(), row, row);
    });
    m_connections << connect(query, &store::Query::rowRemoved, this, [this] {
        endRemoveRows();
        m_removingRows = false;
        emit contentsChanged();
    });
    m_connections << connect(query, &store::Query::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit contentsChanged();
    });
    m_connections << connect(query, &store::Query::currentChanged, this, &QueryTableModel::followCurrent);
}

void QueryTableModel::followCurrent(int row) {
    const int previous = m_current;
    m_current = row;
    if (previous >= 0 && previous < rowCount())
        emit headerDataChanged(Qt::Vertical, previous, previous);
    if (row >= 0 && row < rowCount())
        emit headerDataChanged(Qt::Vertical, row, row);
}

void QueryTableModel::resolveFields() {
    m_fields.clear();
    for (const GridColumn& c : m_columns)
        m_fields << (m_query && !c.fieldName.isEmpty() ? m_query->fieldIndex(c.fieldName) : -1);
}

void QueryTableModel::setColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    resolveFields();
    endResetModel();
}

void QueryTableModel::setHeaderTexts(const QStringList& texts) {
    m_headerTexts = texts;
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

void QueryTableModel::setDichromatic(bool on) {
    m_dichromatic = on;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

bool QueryTableModel::keepsWhole(int column) const {
    const int field = m_fields.value(column, -1);
    return m_query && field >= 0 && isDateOrNumber(m_query->fieldType(field));
}

Qt::Alignment QueryTableModel::alignment(int column) const {
    const int field = m_fields.value(column, -1);
    return m_query && field >= 0 && isNumeric(m_query->fieldType(field)) ? Qt::AlignRight
                                                                         : Qt::AlignLeft;
}

int QueryTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_query || !m_query->isOpen())
        return 0;
    return m_query->recordCount();
}

int QueryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant QueryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_query)
        return QVariant();
    const int field = m_fields.value(index.column(), -1);
    switch (role) {
    case Qt::DisplayRole:
        if (field < 0)
            return QString();
        return cellText(m_query->valueAt(index.row(), field), m_query->fieldType(field));
    case Qt::BackgroundRole:
        return m_dichromatic && index.row() % 2 == 0 ? kDichromaticColor : QColor(Qt::white);
    case KeepWholeRole:
        return keepsWhole(index.column());
    case Qt::TextAlignmentRole:
        return int(alignment(index.column()) | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section == m_current ? QStringLiteral("▶") : QString();
    if (section < m_headerTexts.size())
        return m_headerTexts[section];
    return m_columns.value(section).titleText();
}

} // namespace lists
