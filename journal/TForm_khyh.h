#pragma once

#include "lists/CatalogueWindow.h"

namespace ui {
class DBEdit;
}

namespace journal {

/// The bank account catalogue "开户银行设置", from which every list of
/// accounts is taken.
class TForm_khyh : public lists::CatalogueWindow {
    Q_OBJECT
public:
    /// Expects the bank accounts query open.
    explicit TForm_khyh(QWidget* owner);

protected:
    bool checkFields() override;
    QWidget* firstField() const override;
    QWidget* nameField() const override;

private:
    ui::DBEdit* m_name;
};

} // namespace journal
