#include "TForm_qxb.h"

#include "TForm_qxb_edit.h"

#include "ui/TDm1.h"

#include <QToolButton>

namespace admin {

namespace {

lists::ListWindowSpec operatorSpec() {
    lists::ListWindowSpec spec;
    spec.objectName = QStringLiteral("Form_qxb");
    spec.title = QStringLiteral("操作员设置");
    spec.columnButtons = lists::ListWindowSpec::ColumnButtons::Disabled;
    spec.hideLimit = 4;
    spec.printTitle = QStringLiteral("操作员及权限打印清单");
    spec.exportName = QStringLiteral("操作员明细表");
    return spec;
}

QList<lists::GridColumn> operatorColumns() {
    using lists::FooterKind;
    return {
        {QStringLiteral("姓名"), QStringLiteral("姓名"), 100, FooterKind::StaticText, QStringLiteral("记录数"), true},
        {QStringLiteral("身份证号"), QStringLiteral("身份证号"), 140, FooterKind::Count, {}, true},
        {QStringLiteral("联系电话"), QStringLiteral("联系电话"), 160},
        {QStringLiteral("输入法"), QStringLiteral("输入法"), 130},
        {QStringLiteral("备注"), QStringLiteral("备注"), 220},
    };
}

} // namespace

TForm_qxb::TForm_qxb(QWidget* owner)
    : ListWindow(owner, operatorSpec(), &ui::Dm1->ds_qxb, operatorColumns()) {
    QToolButton* edit = addButton(QStringLiteral("bitbtn_edit"), QStringLiteral("编辑"));
    arrangeButtons({QStringLiteral("SpeedButton2"), QStringLiteral("bitbtn_edit"), QStringLiteral("SpeedButton1"),
                    QStringLiteral("SpeedButton3"), QStringLiteral("SpeedButton4")});
    connect(edit, &QToolButton::clicked, this, &TForm_qxb::editOperator);
}

void TForm_qxb::editOperator() {
    TForm_qxb_edit editor(this);
    editor.exec();
}

} // namespace admin
