#include "OperatorLayout.h"

namespace admin {

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
        {QStringLiteral("姓名"), QStringLiteral("姓名"), 100, FooterKind::StaticText,
         QStringLiteral("记录数"), true},
        {QStringLiteral("身份证号"), QStringLiteral("身份证号"), 140, FooterKind::Count, {}, true},
        {QStringLiteral("联系电话"), QStringLiteral("联系电话"), 160, FooterKind::None, {}, false},
        {QStringLiteral("输入法"), QStringLiteral("输入法"), 130, FooterKind::None, {}, false},
        {QStringLiteral("备注"), QStringLiteral("备注"), 220, FooterKind::None, {}, false},
    };
}

} // namespace admin
