#include "OperatorLayout.h"

namespace admin {

lists::ListWindowTraits operatorTraits() {
    lists::ListWindowTraits traits;
    traits.objectName = QStringLiteral("Form_qxb");
    traits.title = QStringLiteral("操作员设置");
    traits.columnButtons = lists::ListWindowTraits::ColumnButtons::Disabled;
    traits.hideLimit = 4;
    traits.printTitle = QStringLiteral("操作员及权限打印清单");
    traits.exportName = QStringLiteral("操作员明细表");
    return traits;
}

QList<lists::GridColumn> operatorColumns() {
    using lists::FooterKind;
    return {
        {QStringLiteral("姓名"), QStringLiteral("姓名"), 100, FooterKind::StaticText,
         QStringLiteral("记录数"), true},
        {QStringLiteral("身份证号"), QStringLiteral("身份证号"), 140, FooterKind::Count, {}, true},
        {QStringLiteral("联系电话"), QStringLiteral("联系电话"), 160, FooterKind::None, {}, false},
        {QStringLiteral("输入法"), QStringLiteral("输入法"), 130, FooterKind::None, {}, false},
        {QStringLiteral("备注"), QStringLiteral("备注"), 220, FooterKind::None, {}, false},
    };
}

} // namespace admin
