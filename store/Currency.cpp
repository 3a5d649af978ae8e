#include "Currency.h"

#include <algorithm>
#include <limits>

namespace store {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// Adds a decimal digit to an accumulating magnitude; false when it no longer fits.
bool appendDigit(std::uint64_t& magnitude, int digit) {
    const std::uint64_t limit = static_cast<std::uint64_t>(kMax) + 1; // allows the minimum
    if (magnitude > (limit - digit) / 10)
        return false;
    magnitude = magnitude * 10 + digit;
    return true;
}

QString groupDigits(const QString& digits) {
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

} // namespace

Currency Currency::fromUnits(std::int64_t units) {
    std::int64_t raw = 0;
    if (__builtin_mul_overflow(units, kScale, &raw))
        throw CurrencyOverflow();
    return fromRaw(raw);
}

std::optional<Currency> Currency::parse(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    const int n = int(t.size());
    bool negative = false;
    if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    std::uint64_t magnitude = 0;
    bool overflow = false; // told only once the whole text has been read
    int intDigits = 0;
    int groupDigits = 0; // since the last separator
    bool grouped = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            overflow = overflow || !appendDigit(magnitude, c.unicode() - '0');
            ++intDigits;
            ++groupDigits;
        } else if (c == QLatin1Char(',')) {
            // A separator ends a group: the first of one to three digits, every later one of three.
            // "1,50" is a slip, not 150.
            if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3))
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (grouped && groupDigits != 3)
        return std::nullopt;
    int fracDigits = 0;
    bool roundUp = false;
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        for (; i < n; ++i) {
            const QChar c = t[i];
            if (!(c.isDigit() && c.unicode() < 128))
                break;
            const int d = c.unicode() - '0';
            if (fracDigits < 4) {
                overflow = overflow || !appendDigit(magnitude, d);
            } else if (fracDigits == 4) {
                roundUp = d >= 5;
            }
            ++fracDigits;
        }
    }
    if (i != n || (intDigits == 0 && fracDigits == 0))
        return std::nullopt;
    if (overflow)
        throw CurrencyOverflow();
    for (int k = std::min(fracDigits, 4); k < 4; ++k) {
        if (!appendDigit(magnitude, 0))
            throw CurrencyOverflow();
    }
    if (roundUp)
        ++magnitude; // cannot wrap: magnitude is at most 2^63 here
    const std::uint64_t limit = negative ? static_cast<std::uint64_t>(kMax) + 1
                                         : static_cast<std::uint64_t>(kMax);
    if (magnitude > limit)
        throw CurrencyOverflow();
    if (negative)
        return fromRaw(magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                                          : -static_cast<std::int64_t>(magnitude));
    return fromRaw(static_cast<std::int64_t>(magnitude));
}

QString Currency::toString() const {
    QString s = format(4);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}

QString Currency::format(int decimals, bool grouping) const {
    decimals = std::clamp(decimals, 0, 4);
    const bool negative = m_raw < 0;
    // Work on the unsigned magnitude so that the minimum value formats too.
    std::uint64_t magnitude =
        negative ? std::uint64_t(0) - static_cast<std::uint64_t>(m_raw) : std::uint64_t(m_raw);
    std::uint64_t divisor = 1;
    for (int k = decimals; k < 4; ++k)
        divisor *= 10;
    std::uint64_t scaled = magnitude / divisor;
    if (divisor > 1 && magnitude % divisor >= divisor / 2)
        ++scaled;
    std::uint64_t unitScale = 1;
    for (int k = 0; k < decimals; ++k)
        unitScale *= 10;
    const std::uint64_t units = scaled / unitScale;
    const std::uint64_t fraction = scaled % unitScale;
    QString digits = QString::number(units);
    if (grouping)
        digits = groupDigits(digits);
    QString s;
    if (negative && scaled != 0)
        s += QLatin1Char('-');
    s += digits;
    if (decimals > 0)
        s += QLatin1Char('.') + QString::number(fraction).rightJustified(decimals, QLatin1Char('0'));
    return s;
}

Currency Currency::operator+(Currency other) const {
    std::int64_t r = 0;
    if (__builtin_add_overflow(m_raw, other.m_raw, &r))
        throw CurrencyOverflow();
    return fromRaw(r);
}

Currency Currency::operator-(Currency other) const {
    std::int64_t r = 0;
    if (__builtin_sub_overflow(m_raw, other.m_raw, &r))
        throw CurrencyOverflow();
    return fromRaw(r);
}

Currency Currency::operator-() const {
    if (m_raw == std::numeric_limits<std::int64_t>::min())
        throw CurrencyOverflow();
    return fromRaw(-m_raw);
}

} // namespace store
