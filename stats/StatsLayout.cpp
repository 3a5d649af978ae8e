#include "StatsLayout.h"

namespace stats {

using lists::FooterKind;
using lists::GridColumn;
using lists::ListWindowTraits;

ListWindowTraits statsTraits(Statistic statistic, store::JournalKind kind) {
    const bool cash = kind == store::JournalKind::Cash;
    ListWindowTraits traits;
    traits.deleteNeeds = ListWindowTraits::DeleteNeeds::OpenQueryAndRecords;
    traits.columnButtons = ListWindowTraits::ColumnButtons::Enabled;
    switch (statistic) {
    case Statistic::Summary:
        traits.objectName = cash ? QStringLiteral("Form_xjsytj") : QStringLiteral("Form_yhsytj");
        traits.title = cash ? QStringLiteral("现金帐统计(按摘要)") : QStringLiteral("银行帐统计(按摘要)");
        traits.hideLimit = 3;
        traits.printTitle = cash ? QStringLiteral("现金日记帐统计(按摘要)打印清单")
                               : QStringLiteral("银行帐统计(按摘要)打印清单");
        traits.exportName = cash ? QStringLiteral("现金日记帐统计(按摘要)") : QStringLiteral("银行帐统计(按摘要)");
        traits.threeDimensionalFrame = true;
        break;
    case Statistic::Month:
        traits.objectName = cash ? QStringLiteral("Form_xjsytj_yf") : QStringLiteral("Form_yhsytj_yf");
        traits.title = cash ? QStringLiteral("现金帐统计(按月份)") : QStringLiteral("银行帐统计(按月份)");
        traits.hideLimit = 6;
        traits.printTitle = cash ? QStringLiteral("现金日记帐统计(月份)打印清单")
                               : QStringLiteral("银行帐统计(月份)打印清单");
        traits.blankRightHeaderLine = true;
        // The proposed names begin with a blank.
        traits.exportName = cash ? QStringLiteral(" 现金日记帐统计(月份)") : QStringLiteral(" 银行帐统计(月份)");
        traits.sorting = ListWindowTraits::Sorting::Requery;
        break;
    case Statistic::Voucher:
        traits.objectName =
            cash ? QStringLiteral("Form_statistics_voucher") : QStringLiteral("Form_statistics_voucher_yh");
        traits.title = cash ? QStringLiteral("现金帐统计(按凭证号)") : QStringLiteral("银行帐统计(按凭证号)");
        traits.hideLimit = 3;
        traits.printTitle = cash ? QStringLiteral("现金帐统计(按凭证号)打印清单")
                               : QStringLiteral("银行帐统计(按凭证号)打印清单");
        traits.exportName = cash ? QStringLiteral("现金帐统计(按凭证号)") : QStringLiteral("银行帐统计(按凭证号)");
        traits.threeDimensionalFrame = true;
        break;
    }
    return traits;
}

QList<GridColumn> statsColumns(Statistic statistic) {
    if (statistic == Statistic::Month) {
        return {
            {QStringLiteral("年度"), QStringLiteral("年度"), 100},
            {QStringLiteral("月份"), QStringLiteral("月份"), 100, FooterKind::None, {}, true},
            {QStringLiteral("现金增加"), QStringLiteral("借方(增加)"), 120, FooterKind::Sum},
            {QStringLiteral("现金减少"), QStringLiteral("贷方(减少)"), 120, FooterKind::Sum},
            {QStringLiteral("收入差价"), QStringLiteral("收入"), 120, FooterKind::Sum},
            {QStringLiteral("备注"), QStringLiteral("备注"), 200},
        };
    }
    return {
        {QStringLiteral("摘要"), QStringLiteral("摘要"), 220, FooterKind::StaticText, QStringLiteral("记录数")},
        {QStringLiteral("发车日期"), QStringLiteral("开始日期"), 90, FooterKind::Count},
        {QStringLiteral("收车日期"), QStringLiteral("结束日期"), 90},
        {QStringLiteral("现金增加"), QStringLiteral("现金增加(借方)"), 110, FooterKind::Sum},
        {QStringLiteral("现金减少"), QStringLiteral("现金减少(贷方)"), 110, FooterKind::Sum},
        {QString(), QStringLiteral("备注"), 150},
    };
}

} // namespace stats
