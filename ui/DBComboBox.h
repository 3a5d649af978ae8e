#pragma once

#include "FieldLink.h"

#include <QComboBox>

namespace ui {

class DataSource;

/// A text field with a drop-down list of choices, bound to a field of a data
/// source's current row. The window fills the list (addItems()); any text can
/// be typed as well, and the text, not an index, is written into the field.
/// Choosing an item or changing the text is an edit as in DBEdit.
class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { m_link.setDataSource(source); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    void setDataField(const QString& name) { m_link.setFieldName(name); }
    QString dataField() const { return m_link.fieldName(); }
    FieldLink& fieldLink() { return m_link; }

    /// The shown text.
    QString text() const { return currentText(); }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();

    FieldLink m_link;
};

} // namespace ui
