#include "DBLookupComboBox.h"

#include "DataSource.h"

#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>

namespace ui {

DBLookupComboBox::DBLookupComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_link([this] { showField(); }, [](store::Field&) {}) { // a choice writes at once
    setEditable(false);
    setDropDownRows(maxVisibleItems());
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::chooseIndex);
}

void DBLookupComboBox::setListSource(DataSource* source) {
    if (m_listSource == source)
        return;
    disconnect(m_listSourceConnection);
    m_listSource = source;
    if (source)
        m_listSourceConnection = connect(source, &DataSource::queryChanged, this,
                                         [this](store::Query* q) { bindList(q); });
    bindList(source ? source->query() : nullptr);
}

DataSource* DBLookupComboBox::listSource() const {
    return m_listSource;
}

void DBLookupComboBox::setListField(const QString& name) {
    m_listField = name;
    fill();
}

void DBLookupComboBox::setKeyField(const QString& name) {
    m_keyField = name;
    fill();
}

void DBLookupComboBox::setDropDownRows(int rows) {
    setMaxVisibleItems(rows);
    // Styles that open the list as a menu over the field ignore the number of
    // visible items; the plain list honours it.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this))
        setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

QString DBLookupComboBox::text() const {
    return currentIndex() < 0 ? QString() : currentText();
}

QString DBLookupComboBox::keyValue() const {
    const int index = currentIndex();
    return index < 0 ? QString() : valueAt(index, m_keyField.isEmpty() ? m_listField : m_keyField);
}

void DBLookupComboBox::chooseIndex(int index) {
    if (index < 0 || index >= count())
        return;
    if (currentIndex() != index)
        setCurrentIndex(index);
    const QString key = keyValue();
    const int row = firstRowWithKey(key);
    store::Query* list = m_listQuery;
    if (list && list->isOpen() && row >= 0 && row != list->currentIndex())
        list->moveTo(row);
    if (m_link.dataSource() && !m_link.fieldName().isEmpty()) {
        if (m_link.edit()) {
            if (std::optional<store::Field> f = m_link.field())
                f->setString(key);
        } else {
            m_link.refresh();
        }
    }
    emit chosen(key, row);
}

void DBLookupComboBox::bindList(store::Query* query) {
    for (const QMetaObject::Connection& c : m_listConnections)
        disconnect(c);
    m_listConnections.clear();
    m_listQuery = query;
    if (query) {
        // Single rows are followed one by one, so that a fill without
        // disableControls() stays linear; a reset fills the list anew.
        const auto reselect = [this] {
            m_keysValid = false;
            if (m_link.dataSource() && !m_link.fieldName().isEmpty() && !m_reselectPending) {
                m_reselectPending = true;
                QTimer::singleShot(0, this, [this] {
                    m_reselectPending = false;
                    showField();
                });
            }
        };
        m_listConnections = {
            connect(query, &store::Query::reset, this, &DBLookupComboBox::fill),
            connect(query, &QObject::destroyed, this, &DBLookupComboBox::fill),
            connect(query, &store::Query::rowInserted, this,
                    [this, reselect](int row) {
                        const int listColumn = column(listFieldName());
                        if (listColumn < 0)
                            return;
                        const bool noneChosen = currentIndex() < 0;
                        insertItem(row, valueAt(row, listFieldName()));
                        if (noneChosen)
                            setCurrentIndex(-1);
                        reselect();
                    }),
            connect(query, &store::Query::rowRemoved, this,
                    [this, reselect](int row) {
                        if (row >= count())
                            return;
                        const bool wasChosen = currentIndex() == row;
                        removeItem(row);
                        if (wasChosen)
                            setCurrentIndex(-1);
                        reselect();
                    }),
            connect(query, &store::Query::rowChanged, this,
                    [this, reselect](int row) {
                        if (row < 0 || row >= count())
                            return;
                        const QString shown = valueAt(row, listFieldName());
                        if (itemText(row) != shown)
                            setItemText(row, shown);
                        reselect();
                    }),
        };
    }
    fill();
}

QString DBLookupComboBox::listFieldName() const {
    return m_listField.isEmpty() ? m_keyField : m_listField;
}

QString DBLookupComboBox::keyFieldName() const {
    return m_keyField.isEmpty() ? m_listField : m_keyField;
}

void DBLookupComboBox::fill() {
    clear();
    m_keysValid = false;
    store::Query* list = m_listQuery;
    const int listColumn = column(listFieldName());
    if (listColumn >= 0) {
        QStringList items;
        items.reserve(list->recordCount());
        for (int row = 0; row < list->recordCount(); ++row)
            items << store::valueToString(list->valueAt(row, listColumn),
                                          list->fieldType(listColumn));
        addItems(items);
    }
    setCurrentIndex(-1);
    showField();
}

int DBLookupComboBox::column(const QString& name) const {
    store::Query* list = m_listQuery;
    if (!list || !list->isOpen() || name.isEmpty())
        return -1;
    return list->fieldIndex(name);
}

QString DBLookupComboBox::valueAt(int row, const QString& name) const {
    const int c = column(name);
    if (c < 0)
        return QString();
    return store::valueToString(m_listQuery->valueAt(row, c), m_listQuery->fieldType(c));
}

int DBLookupComboBox::firstRowWithKey(const QString& key) {
    store::Query* list = m_listQuery;
    const int keyColumn = column(keyFieldName());
    if (keyColumn < 0)
        return -1;
    if (!m_keysValid) {
        m_firstRowOfKey.clear();
        for (int row = list->recordCount() - 1; row >= 0; --row)
            m_firstRowOfKey.insert(
                store::valueToString(list->valueAt(row, keyColumn), list->fieldType(keyColumn)),
                row);
        m_keysValid = true;
    }
    return m_firstRowOfKey.value(key, -1);
}

void DBLookupComboBox::showField() {
    if (!m_link.dataSource() || m_link.fieldName().isEmpty())
        return;
    const std::optional<store::Field> f = m_link.field();
    int index = -1;
    if (f && !f->isNull())
        index = firstRowWithKey(f->asString());
    if (index >= count())
        index = -1;
    if (currentIndex() != index)
        setCurrentIndex(index);
}

} // namespace ui
