#include "MatchCommand.h"

#include "ListExport.h"
#include "ListPrint.h"

#include "journal/BankMatching.h"
#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"

namespace tools {

namespace {

const QString kDefaultOperator = QStringLiteral("系统管理员");

QString pairLine(const journal::MatchedPair& pair) {
    const auto amount = [](store::Currency value) {
        return value.isZero() ? QString() : journal::BankMatching::amountText(value);
    };
    const journal::BankEntry& e = pair.entry;
    const journal::StatementLine& l = pair.line;
    return QStringList({store::shortDateText(e.date), e.voucher, e.summary, amount(e.debit),
                        amount(e.credit), store::shortDateText(l.date), l.reference, l.text,
                        amount(l.in), amount(l.out)})
        .join(QLatin1Char('\t'));
}

} // namespace

int runMatch(const MatchRequest& request, const ReportLine& out, const ReportLine& err) {
    const QString prefix = QStringLiteral("tallomer-db match: ");
    store::Connection connection;
    connection.setConnectionString(store::ConnectionString::forFile(request.book));
    connection.open();

    QString operatorName;
    if (request.operatorName) {
        if (!hasOperator(connection, *request.operatorName)) {
            err(prefix + QStringLiteral("操作员表中没有“%1”！").arg(*request.operatorName));
            return 2;
        }
        operatorName = *request.operatorName;
    } else if (hasOperator(connection, kDefaultOperator)) {
        operatorName = kDefaultOperator;
    }
    if (!hasBankAccount(connection, request.bankAccount)) {
        err(prefix + QStringLiteral("开户银行“%1”不在开户银行设置中！").arg(request.bankAccount));
        return 2;
    }

    journal::MatchPeriod period = journal::MatchPeriod::everyDay();
    QString when = QStringLiteral("所有日期");
    if (request.month) {
        const store::BookkeepingPeriod month(store::DateTime::fromDate(*request.month));
        period = {month.firstDay(), month.lastDay()};
        when = request.month->toString(QStringLiteral("yyyy-MM"));
    }
    journal::BankMatching matching(connection.database(), operatorName);
    const QList<journal::MatchedPair> made =
        matching.matchAutomatically(request.bankAccount, period, request.days);
    out(QStringLiteral(
        "日记帐日期\t凭证号\t摘要\t借方\t贷方\t对账单日期\t流水号\t对账单摘要\t收入\t支出"));
    for (const journal::MatchedPair& pair : made)
        out(pairLine(pair));
    out(QStringLiteral(
            "%1（%2）：自动对上 %3 对记录；还有 %4 条银行日记帐记录和 %5 条对账单记录没有对账。")
            .arg(request.bankAccount, when)
            .arg(made.size())
            .arg(matching.unmatchedEntries(request.bankAccount, period).size())
            .arg(matching.unmatchedLines(request.bankAccount, period).size()));
    return 0;
}

} // namespace tools
