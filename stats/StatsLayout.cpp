#include "StatsLayout.h"

namespace stats {

using lists::FooterKind;
using lists::GridColumn;
using lists::ListWindowSpec;

ListWindowSpec statsSpec(Statistic statistic, store::JournalKind kind) {
    const bool cash = kind == store::JournalKind::Cash;
    ListWindowSpec spec;
    spec.deleteNeeds = ListWindowSpec::DeleteNeeds::OpenQueryAndRecords;
    spec.columnButtons = ListWindowSpec::ColumnButtons::Enabled;
    switch (statistic) {
    case Statistic::Summary:
        spec.objectName = cash ? QStringLiteral("Form_xjsytj") : QStringLiteral("Form_yhsytj");
        spec.title = cash ? QStringLiteral("现金帐统计(按摘要)") : QStringLiteral("银行帐统计(按摘要)");
        spec.hideLimit = 3;
        spec.printTitle = cash ? QStringLiteral("现金日记帐统计(按摘要)打印清单")
                               : QStringLiteral("银行帐统计(按摘要)打印清单");
        spec.exportName = cash ? QStringLiteral("现金日记帐统计(按摘要)") : QStringLiteral("银行帐统计(按摘要)");
        spec.threeDimensionalFrame = true;
        break;
    case Statistic::Month:
        spec.objectName = cash ? QStringLiteral("Form_xjsytj_yf") : QStringLiteral("Form_yhsytj_yf");
        spec.title = cash ? QStringLiteral("现金帐统计(按月份)") : QStringLiteral("银行帐统计(按月份)");
        spec.hideLimit = 6;
        spec.printTitle = cash ? QStringLiteral("现金日记帐统计(月份)打印清单")
                               : QStringLiteral("银行帐统计(月份)打印清单");
        spec.blankRightHeaderLine = true;
        // The proposed names begin with a blank.
        spec.exportName = cash ? QStringLiteral(" 现金日记帐统计(月份)") : QStringLiteral(" 银行帐统计(月份)");
        spec.sorting = ListWindowSpec::Sorting::Requery;
        break;
    case Statistic::Voucher:
        spec.objectName =
            cash ? QStringLiteral("Form_statistics_voucher") : QStringLiteral("Form_statistics_voucher_yh");
        spec.title = cash ? QStringLiteral("现金帐统计(按凭证号)") : QStringLiteral("银行帐统计(按凭证号)");
        spec.hideLimit = 3;
        spec.printTitle = cash ? QStringLiteral("现金帐统计(按凭证号)打印清单")
                               : QStringLiteral("银行帐统计(按凭证号)打印清单");
        spec.exportName = cash ? QStringLiteral("现金帐统计(按凭证号)") : QStringLiteral("银行帐统计(按凭证号)");
        spec.threeDimensionalFrame = true;
        break;
    }
    return spec;
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
