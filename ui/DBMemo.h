#pragma once

#include "FieldLink.h"

#include <QPlainTextEdit>

namespace ui {

class DataSource;

/// A multi-line text field bound to a text field of a data source's current
/// row; it wraps words. Edits behave as in DBEdit: any change of the text not
/// made by the control itself (typing, input method, setPlainText()) puts the
/// query into edit mode, and the text is written when the query asks or the
/// control loses the focus.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { m_link.setDataSource(source); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    void setDataField(const QString& name) { m_link.setFieldName(name); }
    QString dataField() const { return m_link.fieldName(); }
    FieldLink& fieldLink() { return m_link; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();

    FieldLink m_link;
};

} // namespace ui
