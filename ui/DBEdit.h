#pragma once

#include "FieldLink.h"

#include <QLineEdit>

namespace ui {

class DataSource;

/// A one-line text field bound to a field of a data source's current row.
///
/// It shows the field's text; any change of its text that it did not make
/// itself (typing, an input method, paste, setText()) is the user's edit: the
/// query goes into edit mode and the text is written into the field when the
/// query asks (post, a cursor move, updateRecord()) or when the control loses
/// the focus. Bound to a closed query, it shows nothing and undoes changes.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { m_link.setDataSource(source); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    void setDataField(const QString& name) { m_link.setFieldName(name); }
    QString dataField() const { return m_link.fieldName(); }
    FieldLink& fieldLink() { return m_link; }

protected:
    /// The text the control shows for the field.
    virtual QString textFor(const store::Field& field) const;
    /// Writes the control's text into the field; throws store::EngineError
    /// for text the field cannot take.
    virtual void writeText(store::Field& field, const QString& text);
    /// Shows the field's text, or nothing when there is no field.
    void showField();

    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink m_link;
};

} // namespace ui
