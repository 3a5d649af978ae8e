#pragma once

#include "EngineError.h"

#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

namespace store {

/// Raised when an amount, a sum or a balance leaves the range of 64-bit
/// ten-thousandths. An engine error, so that every path that reports engine
/// errors (the error box, the command line) reports it too.
class CurrencyOverflow : public EngineError {
public:
    CurrencyOverflow()
        : EngineError(QStringLiteral(
              "金额超出了系统能够计算的范围(绝对值不能超过922,337,203,685,477.5807)")) {}
};

/// An exact amount: a 64-bit count of ten-thousandths, as the database stores it.
class Currency {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(std::int64_t tenThousandths) {
        Currency c;
        c.m_raw = tenThousandths;
        return c;
    }
    /// Whole units; throws CurrencyOverflow when out of range.
    static Currency fromUnits(std::int64_t units);

    /// Reads an amount as an amount field shows it: optional sign, digits with
    /// optional "," group separators between groups of three ("1,234,567"; "1,50"
    /// is unreadable), an optional point and decimals. Blanks
    /// around it are ignored. Decimals past the fourth are rounded half away
    /// from zero. Returns nothing for unreadable text; throws CurrencyOverflow
    /// for a readable amount out of range.
    static std::optional<Currency> parse(const QString& text);

    constexpr std::int64_t raw() const { return m_raw; }
    constexpr bool isZero() const { return m_raw == 0; }

    /// Shortest exact text: "12.5", "-0.0001", "0".
    QString toString() const;
    /// Fixed decimals (0 to 4, rounded half away from zero), optionally with
    /// "," between groups of three digits: "1,234.50".
    QString format(int decimals, bool grouping = false) const;

    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator-() const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }

    constexpr auto operator<=>(const Currency&) const = default;

private:
    std::int64_t m_raw = 0;
};

} // namespace store
