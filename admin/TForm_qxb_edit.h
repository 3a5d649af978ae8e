#pragma once

#include <QDialog>

class QPushButton;

namespace ui {
class DBComboBox;
class DBEdit;
class DBMemo;
} // namespace ui

namespace admin {

/// The operator editor "操作员编辑" over the current row of the operators query.
class TForm_qxb_edit : public QDialog {
    Q_OBJECT
public:
    explicit TForm_qxb_edit(QWidget* owner);

public slots:
    void reject() override {}

private:
    /// Shows why the current row's name cannot be stored; false then.
    bool nameAccepted();
    void add();
    void save();
    void cancelChange();
    void closeEditor();
    void setAdding(bool adding);

    ui::DBEdit* m_name;
    ui::DBEdit* m_identity;
    ui::DBEdit* m_telephone;
    ui::DBComboBox* m_inputMethod;
    ui::DBMemo* m_note;
    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QPushButton* m_close;
};

} // namespace admin
