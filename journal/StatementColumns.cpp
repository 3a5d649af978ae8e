#include "StatementColumns.h"

#include <QRegularExpression>

namespace journal {

namespace {

struct RoleTitles {
    StatementRole role;
    QStringList titles; // the more usual first
};

const QList<RoleTitles>& roleTitles() {
    static const QList<RoleTitles> table = {
        {StatementRole::Date,
         {QStringLiteral("交易日期"), QStringLiteral("记账日期"), QStringLiteral("入账日期"),
          QStringLiteral("日期"), QStringLiteral("发生日期"), QStringLiteral("交易日"),
          QStringLiteral("交易时间"), QStringLiteral("记账时间")}},
        {StatementRole::Text,
         {QStringLiteral("摘要"), QStringLiteral("交易摘要"), QStringLiteral("用途"),
          QStringLiteral("交易用途"), QStringLiteral("附言"), QStringLiteral("交易附言"),
          QStringLiteral("备注"), QStringLiteral("说明")}},
        {StatementRole::In,
         {QStringLiteral("收入金额"), QStringLiteral("收入"), QStringLiteral("存入金额"),
          QStringLiteral("存入"), QStringLiteral("转入金额"), QStringLiteral("收款金额")}},
        {StatementRole::Out,
         {QStringLiteral("支出金额"), QStringLiteral("支出"), QStringLiteral("支取金额"),
          QStringLiteral("支取"), QStringLiteral("转出金额"), QStringLiteral("付款金额")}},
        {StatementRole::Debit,
         {QStringLiteral("借方发生额"), QStringLiteral("借方金额"), QStringLiteral("借方")}},
        {StatementRole::Credit,
         {QStringLiteral("贷方发生额"), QStringLiteral("贷方金额"), QStringLiteral("贷方")}},
        {StatementRole::Signed,
         {QStringLiteral("交易金额"), QStringLiteral("发生额"), QStringLiteral("金额")}},
        {StatementRole::Balance,
         {QStringLiteral("余额"), QStringLiteral("账户余额"), QStringLiteral("交易后余额"),
          QStringLiteral("当前余额"), QStringLiteral("联机余额"), QStringLiteral("本次余额")}},
        {StatementRole::Counterparty,
         {QStringLiteral("对方户名"), QStringLiteral("对方账户名称"), QStringLiteral("对方账户名"),
          QStringLiteral("对方户名称"), QStringLiteral("对方名称"), QStringLiteral("对方单位"),
          QStringLiteral("对方单位名称"), QStringLiteral("收付款人名称"),
          QStringLiteral("交易对方")}},
        {StatementRole::Reference,
         {QStringLiteral("流水号"), QStringLiteral("交易流水号"), QStringLiteral("业务流水号"),
          QStringLiteral("银行流水号"), QStringLiteral("凭证号"), QStringLiteral("凭证号码"),
          QStringLiteral("交易序号"), QStringLiteral("交易参考号"), QStringLiteral("参考号"),
          QStringLiteral("交易编号"), QStringLiteral("传票号")}},
    };
    return table;
}

// "收入金额(元)", " 余 额 ", "摘要：" all name what their words do.
QString bareTitle(const QString& title) {
    static const QRegularExpression unit(QStringLiteral("[(（][^)）]*[)）]"));
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{3000}:：]"));
    QString bare = title;
    bare.remove(unit);
    bare.remove(blanks);
    return bare;
}

std::optional<StatementColumns> columnsOf(const lists::ImportRow& row) {
    StatementColumns columns;
    columns.at.fill(-1);
    std::array<qsizetype, kStatementRoles> rank;
    rank.fill(-1);
    for (int c = 0; c < row.cells.size(); ++c) {
        const QString bare = bareTitle(row.cells[c]);
        if (bare.isEmpty())
            continue;
        for (const RoleTitles& role : roleTitles()) {
            const qsizetype r = role.titles.indexOf(bare);
            const int i = int(role.role);
            if (r >= 0 && (rank[i] < 0 || r < rank[i])) {
                rank[i] = r;
                columns.at[i] = c;
                columns.titles[i] = row.cells[c].trimmed();
            }
        }
    }
    const auto has = [&](StatementRole role) { return columns.column(role) >= 0; };
    if (!has(StatementRole::Date))
        return std::nullopt;
    if (has(StatementRole::In) && has(StatementRole::Out))
        columns.amounts = AmountColumns::InOut;
    else if (has(StatementRole::Debit) && has(StatementRole::Credit))
        columns.amounts = AmountColumns::DebitCredit;
    else if (has(StatementRole::Signed))
        columns.amounts = AmountColumns::Signed;
    else
        return std::nullopt;
    return columns;
}

} // namespace

std::optional<StatementColumns> findStatementColumns(const QList<lists::ImportRow>& rows) {
    for (qsizetype r = 0; r < rows.size() && r < 50; ++r) {
        if (std::optional<StatementColumns> columns = columnsOf(rows[r])) {
            columns->titleRow = r;
            return columns;
        }
    }
    return std::nullopt;
}

} // namespace journal
