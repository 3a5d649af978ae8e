#include "CatalogueLayout.h"

namespace journal {

namespace {

lists::ListWindowTraits catalogueTraits(const QString& objectName, const QString& title) {
    lists::ListWindowTraits traits;
    traits.objectName = objectName;
    traits.title = title;
    traits.checkBoxes = false;
    traits.columnButtons = lists::ListWindowTraits::ColumnButtons::None;
    traits.canPrint = false;
    traits.exportName = title;
    traits.threeDimensionalFrame = true;
    traits.maximised = false;
    return traits;
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

lists::ListWindowTraits summaryTraits() {
    return catalogueTraits(QStringLiteral("Form_zy"), QStringLiteral("摘要设置"));
}

QList<lists::GridColumn> summaryColumns() {
    return {nameColumn(QStringLiteral("摘要"), QStringLiteral("摘要"))};
}

lists::ListWindowTraits bankAccountTraits() {
    return catalogueTraits(QStringLiteral("Form_khyh"), QStringLiteral("开户银行设置"));
}

QList<lists::GridColumn> bankAccountColumns() {
    return {nameColumn(QStringLiteral("项目"), QStringLiteral("开户银行"))};
}

} // namespace journal
