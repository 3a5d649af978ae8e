#pragma once

#include "store/Query.h"

#include <QDialog>

class QPushButton;

namespace ui {
class DBComboBox;
class DBEdit;
class DBMemo;
} // namespace ui

namespace admin {

/// The operator editor "操作员编辑" over the current row of the operators query.
/// A changed row is left (by "增加") only through the save, with its check and stamps.
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
    /// "存盘"; false when the name check keeps the row as typed.
    bool save();
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
    store::LeaveRowCheck m_leaveRowCheck;
};

} // namespace admin
