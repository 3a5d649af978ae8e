#include "SearchCriteria.h"

#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/SqlText.h"
#include "store/TextFolding.h"

#include <optional>

namespace journal {

namespace sql = store::sql;

namespace {

bool filled(const QString& text) {
    return !text.trimmed().isEmpty();
}

std::optional<store::Currency> amount(const QString& text) {
    try {
        return store::Currency::parse(text);
    } catch (const store::CurrencyOverflow&) {
        return std::nullopt;
    }
}

/// A pair of bounds passes when both are empty, or both are readable with
/// the lower not above the upper: the database would fail on anything else.
bool amountRangeOk(const QString& lower, const QString& upper) {
    if (!filled(lower) && !filled(upper))
        return true;
    const std::optional<store::Currency> low = amount(lower);
    const std::optional<store::Currency> high = amount(upper);
    return low && high && *low <= *high;
}

} // namespace

SearchProblem SearchCriteria::check(JournalKind kind, const SearchFields& fields) {
    if (kind == JournalKind::Bank && !filled(fields.bankAccount))
        return SearchProblem::NoBankAccount;

    if (filled(fields.dateFrom) || filled(fields.dateTo)) {
        const std::optional<store::DateTime> from = store::DateTime::parseDay(fields.dateFrom);
        const std::optional<store::DateTime> to = store::DateTime::parseDay(fields.dateTo);
        if (!from || !to)
            return SearchProblem::DateRange;
        if (*to < *from)
            return SearchProblem::DateOrder;
    }
    if (!amountRangeOk(fields.debitLower, fields.debitUpper))
        return SearchProblem::DebitRange;
    if (!amountRangeOk(fields.creditLower, fields.creditUpper))
        return SearchProblem::CreditRange;
    return SearchProblem::None;
}

QString SearchCriteria::text(JournalKind kind, const SearchFields& fields) {
    sql::Criteria criteria;
    auto addContains = [&criteria](const QString& column, const QString& value) {
        if (filled(value))
            criteria.add(sql::contains(column, value.trimmed()));
    };

    addContains(QStringLiteral("凭证号"), fields.voucher);
    if (filled(fields.summary)) {
        const QString v = fields.summary.trimmed();
        criteria.add(sql::startsWith(QStringLiteral("摘要"), v),
                     QStringLiteral("and") + sql::contains(QStringLiteral("摘要"), v));
    }
    // The account is one chosen from the catalogue and must match it whole, blanks and all.
    if (kind == JournalKind::Bank && filled(fields.bankAccount))
        criteria.add(QStringLiteral("(开户银行 = ") + sql::quoted(fields.bankAccount) +
                     QLatin1Char(')'));
    addContains(QStringLiteral("明细"), fields.detail);
    addContains(QStringLiteral("经办人"), fields.handler);
    addContains(QStringLiteral("备注"), fields.note);
    addContains(QStringLiteral("发票单位"), fields.invoiceParty);
    if (filled(fields.dateFrom) && filled(fields.dateTo))
        criteria.add(sql::dateRange(sql::dateLiteral(fields.dateFrom.trimmed()),
                                    sql::dateLiteral(fields.dateTo.trimmed())));
    if (filled(fields.debitLower) && filled(fields.debitUpper))
        criteria.add(sql::amountRange(QStringLiteral("借方"), fields.debitLower.trimmed(),
                                      fields.debitUpper.trimmed()));
    if (filled(fields.creditLower) && filled(fields.creditUpper))
        criteria.add(sql::amountRange(QStringLiteral("贷方"), fields.creditLower.trimmed(),
                                      fields.creditUpper.trimmed()));
    return criteria.text();
}

SearchFields SearchCriteria::asTyped(SearchFields fields) {
    for (QString* text : {&fields.voucher, &fields.detail, &fields.handler, &fields.invoiceParty,
                          &fields.note})
        *text = store::upperCaseLatin(*text);
    return fields;
}

QString SearchCriteria::problemText(SearchProblem problem) {
    switch (problem) {
    case SearchProblem::None:
        break;
    case SearchProblem::NoBankAccount:
        return QStringLiteral("请先选择开户银行!");
    case SearchProblem::DateRange:
        return QStringLiteral("日期输入错误,请重新输入!");
    case SearchProblem::DateOrder:
        return QStringLiteral("日期从大于日期到,请重新输入!");
    case SearchProblem::DebitRange:
        return QStringLiteral("借方金额输入错误,请重新输入!");
    case SearchProblem::CreditRange:
        return QStringLiteral("贷方金额输入错误,请重新输入!");
    }
    return QString();
}

QString SearchCriteria::noCriteriaText() { return QStringLiteral("查询条件没有输入,请确认!"); }

QStringList SearchCriteria::statement(JournalKind kind, const QString& criteria) {
    return {QStringLiteral("select * from ") + journalTable(kind),
            QStringLiteral(" where ") + criteria, sql::journalOrder};
}

} // namespace journal
