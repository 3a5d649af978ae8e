#include "EntryRules.h"

namespace journal {

EntryProblem checkEntry(const QString& summary, store::Currency debit, store::Currency credit) {
    if (summary.trimmed().isEmpty())
        return EntryProblem::NoSummary;
    if (!debit.isZero() && !credit.isZero())
        return EntryProblem::BothAmounts;
    if (debit.isZero() && credit.isZero())
        return EntryProblem::NoAmount;
    return EntryProblem::None;
}

QString entryProblemText(EntryProblem problem) {
    switch (problem) {
    case EntryProblem::None:
        break;
    case EntryProblem::NoSummary:
        return QStringLiteral("摘要不能为空,请重新输入!");
    case EntryProblem::BothAmounts:
        return QStringLiteral("借方和贷方不能同时有金额,请重新输入!");
    case EntryProblem::NoAmount:
        return QStringLiteral("借方和贷方不能同时为零,请重新输入!");
    }
    return QString();
}

QString noDateText() { return QStringLiteral("日期不能为空,请重新输入!"); }

QString unreadableDateText() { return QStringLiteral("日期输入错误,请重新输入!"); }

} // namespace journal
