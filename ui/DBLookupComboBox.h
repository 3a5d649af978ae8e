#pragma once

#include "FieldLink.h"

#include <QComboBox>
#include <QHash>
#include <QPointer>

namespace ui {

class DataSource;

/// A drop-down list (no free text) of the values of one field of every row of
/// a list query, in query order, as the login window's operator list is.
///
/// Nothing is chosen at first. Choosing an item (with the mouse in the
/// drop-down, with the arrow keys or by typing its first letters, or by
/// chooseIndex()) makes the list query's row with that item's key current; for
/// a key that several rows share, the first of them in query order. When the
/// control is also bound to a data field, the choice writes the key into that
/// field (the field's query goes into edit mode), and the control shows the
/// item whose key the field holds. setCurrentIndex() alone only changes what
/// is shown. The list is filled anew when the list query is reset (opened,
/// closed, controls re-enabled) and follows rows inserted, removed or changed.
class DBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget* parent = nullptr);

    void setListSource(DataSource* source);
    DataSource* listSource() const;
    /// The field whose values the list shows.
    void setListField(const QString& name);
    QString listField() const { return m_listField; }
    /// The field that identifies a row; the list field when not set.
    void setKeyField(const QString& name);
    QString keyField() const { return m_keyField; }
    /// Items visible at once in the drop-down.
    void setDropDownRows(int rows);
    int dropDownRows() const { return maxVisibleItems(); }

    /// Optional: the field that receives the chosen key.
    void setDataSource(DataSource* source) { m_link.setDataSource(source); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    void setDataField(const QString& name) { m_link.setFieldName(name); }
    QString dataField() const { return m_link.fieldName(); }
    FieldLink& fieldLink() { return m_link; }

    /// The shown text; empty when nothing is chosen.
    QString text() const;
    /// The key of the shown item; empty when nothing is chosen.
    QString keyValue() const;
    /// Chooses the item at `index` as the user does.
    void chooseIndex(int index);

signals:
    /// The user chose an item: the list query's cursor has moved to `row`.
    void chosen(const QString& key, int row);

private:
    void bindList(store::Query* query);
    void fill();
    QString listFieldName() const;
    QString keyFieldName() const;
    int column(const QString& name) const;
    QString valueAt(int row, const QString& name) const;
    int firstRowWithKey(const QString& key);
    void showField();

    FieldLink m_link;
    QPointer<DataSource> m_listSource;
    QPointer<store::Query> m_listQuery;
    QList<QMetaObject::Connection> m_listConnections;
    QMetaObject::Connection m_listSourceConnection;
    QString m_listField;
    QString m_keyField;
    QHash<QString, int> m_firstRowOfKey; // built when first needed after a change
    bool m_keysValid = false;
    bool m_reselectPending = false;
};

} // namespace ui
