#include "JournalLayout.h"

namespace journal {

using lists::FooterKind;
using lists::GridColumn;
using lists::ListWindowTraits;

ListWindowTraits journalTraits(JournalKind kind) {
    const bool cash = kind == JournalKind::Cash;
    ListWindowTraits traits;
    traits.objectName = cash ? QStringLiteral("Form_xjrjz") : QStringLiteral("Form_yhrjz");
    traits.title = cash ? QStringLiteral("现金日记账") : QStringLiteral("银行日记账");
    traits.startFitted = false;
    traits.columnButtons =
        cash ? ListWindowTraits::ColumnButtons::Disabled : ListWindowTraits::ColumnButtons::Enabled;
    traits.hideLimit = cash ? 3 : 9;
    traits.deleteNeeds = cash ? ListWindowTraits::DeleteNeeds::Records
                            : ListWindowTraits::DeleteNeeds::OpenQueryAndRecords;
    traits.printTitle = cash ? QStringLiteral("现金日记帐打印清单") : QStringLiteral("银行日记帐打印清单");
    traits.exportName = cash ? QStringLiteral("现金日记帐") : QStringLiteral("银行日记帐");
    traits.sorting = ListWindowTraits::Sorting::Requery;
    traits.copyAndSelectAll = false;
    traits.cellPixels = cash ? 14 : 12;
    traits.footerPixels = 12;
    return traits;
}

QList<GridColumn> journalColumns(JournalKind kind) {
    const QString debit = QStringLiteral("借方(增加)");
    const QString credit = QStringLiteral("贷方(减少)");
    const QString count = QStringLiteral("记录数");
    if (kind == JournalKind::Cash) {
        return {
            {QStringLiteral("日期"), {}, 70, FooterKind::StaticText, count, true},
            {QStringLiteral("摘要"), {}, 120, FooterKind::Count, {}, true},
            {QStringLiteral("明细"), {}, 200, FooterKind::None, {}, true},
            {QStringLiteral("借方"), debit, 80, FooterKind::Sum, {}, true},
            {QStringLiteral("贷方"), credit, 80, FooterKind::Sum, {}, true},
            {QStringLiteral("余额"), {}, 80},
            {QStringLiteral("凭证号"), {}, 60, FooterKind::None, {}, true},
            {QStringLiteral("经办人"), {}, 65, FooterKind::None, {}, true},
            {QStringLiteral("发票单位"), {}, 160},
            {QStringLiteral("备注"), {}, 200},
        };
    }
    return {
        {QStringLiteral("开户银行"), {}, 120},
        {QStringLiteral("日期"), {}, 70, FooterKind::StaticText, count, true},
        {QStringLiteral("凭证号"), {}, 60, FooterKind::None, {}, true},
        {QStringLiteral("摘要"), {}, 110, FooterKind::Count, {}, true},
        {QStringLiteral("明细"), {}, 180, FooterKind::None, {}, true},
        {QStringLiteral("借方"), debit, 68, FooterKind::Sum, {}, true},
        {QStringLiteral("贷方"), credit, 68, FooterKind::Sum, {}, true},
        {QStringLiteral("余额"), {}, 68},
        {QStringLiteral("经办人"), {}, 65, FooterKind::None, {}, true},
        {QStringLiteral("发票单位"), {}, 160},
        {QStringLiteral("备注"), {}, 200},
    };
}

} // namespace journal
