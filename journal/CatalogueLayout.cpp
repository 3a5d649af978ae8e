#include "CatalogueLayout.h"

namespace journal {

namespace {

lists::ListWindowSpec catalogueSpec(const QString& objectName, const QString& title) {
    lists::ListWindowSpec spec;
    spec.objectName = objectName;
    spec.title = title;
    spec.checkBoxes = false;
    spec.columnButtons = lists::ListWindowSpec::ColumnButtons::None;
    spec.canPrint = false;
    spec.exportName = title;
    spec.threeDimensionalFrame = true;
    spec.maximised = false;
    return spec;
}

lists::GridColumn nameColumn(const QString& fieldName, const QString& title) {
    lists::GridColumn name;
    name.fieldName = fieldName;
    name.title = title;
    name.width = 180;
    name.titleButton = true;
    return name;
}

} // namespace

lists::ListWindowSpec summarySpec() {
    return catalogueSpec(QStringLiteral("Form_zy"), QStringLiteral("摘要设置"));
}

QList<lists::GridColumn> summaryColumns() {
    return {nameColumn(QStringLiteral("摘要"), QStringLiteral("摘要"))};
}

lists::ListWindowSpec bankAccountSpec() {
    return catalogueSpec(QStringLiteral("Form_khyh"), QStringLiteral("开户银行设置"));
}

QList<lists::GridColumn> bankAccountColumns() {
    return {nameColumn(QStringLiteral("项目"), QStringLiteral("开户银行"))};
}

} // namespace journal
