#pragma once

#include "lists/ListWindow.h"

namespace admin {

/// The operator list "操作员设置": every operator, edited in the operator editor.
class TForm_qxb : public lists::ListWindow {
    Q_OBJECT
public:
    /// Expects the operators query open in name order.
    explicit TForm_qxb(QWidget* owner);

    /// "编辑" and the double click: the editor on the current row.
    void editOperator();

protected:
    void rowAction() override { editOperator(); }
};

} // namespace admin
