#include "TForm_qxb.h"

#include "OperatorLayout.h"
#include "TForm_qxb_edit.h"

#include "ui/KeyRules.h"
#include "ui/TDm1.h"

#include <QToolButton>

namespace admin {

TForm_qxb::TForm_qxb(QWidget* owner)
    : ListWindow(owner, operatorTraits(), &ui::Dm1->ds_qxb, operatorColumns()) {
    QToolButton* edit = addButton(QStringLiteral("bitbtn_edit"), QStringLiteral("编辑"));
    arrangeButtons({QStringLiteral("SpeedButton2"), QStringLiteral("bitbtn_edit"), QStringLiteral("SpeedButton1"),
                    QStringLiteral("SpeedButton3"), QStringLiteral("SpeedButton4")});
    ui::giveKey(edit, Qt::Key_F2);
    connect(edit, &QToolButton::clicked, this, &TForm_qxb::editOperator);
}

void TForm_qxb::editOperator() {
    TForm_qxb_edit editor(this);
    editor.exec();
}

} // namespace admin
