#include "store/Currency.h"

#include <gtest/gtest.h>

#include <limits>

using store::Currency;
using store::CurrencyOverflow;

TEST(Currency, ParsesWhatAnAmountFieldShows) {
    EXPECT_EQ(Currency::parse(QStringLiteral("1,234.5"))->raw(), 12345000);
    EXPECT_EQ(Currency::parse(QStringLiteral(" -0.0001 "))->raw(), -1);
    EXPECT_EQ(Currency::parse(QStringLiteral(".5"))->raw(), 5000);
    EXPECT_EQ(Currency::parse(QStringLiteral("7."))->raw(), 70000);
    EXPECT_EQ(Currency::parse(QStringLiteral("+12"))->raw(), 120000);
    // A fifth decimal rounds half away from zero.
    EXPECT_EQ(Currency::parse(QStringLiteral("0.00005"))->raw(), 1);
    EXPECT_EQ(Currency::parse(QStringLiteral("-0.00005"))->raw(), -1);
    EXPECT_EQ(Currency::parse(QStringLiteral("0.00004999"))->raw(), 0);
}

TEST(Currency, RefusesUnreadableText) {
    for (const char* text : {"", " ", "abc", "1,", ",1", "1..2", "1.2.3", "12a", "-", ".", "1,,000", "１２"})
        EXPECT_FALSE(Currency::parse(QString::fromUtf8(text)).has_value()) << text;
}

// A slip of the comma must not book a hundred times the amount: "," only
// separates groups of three digits left of the point.
TEST(Currency, GroupSeparatorsStandOnlyBetweenGroupsOfThree) {
    EXPECT_EQ(Currency::parse(QStringLiteral("1,234,567.89"))->raw(), 12345678900);
    EXPECT_EQ(Currency::parse(QStringLiteral("1,234.56"))->raw(), 12345600);
    EXPECT_EQ(Currency::parse(QStringLiteral("-12,345"))->raw(), -123450000);
    EXPECT_EQ(Currency::parse(QStringLiteral("123,456"))->raw(), 1234560000);
    for (const char* text : {"1,50", "12,5", "1,2345", "1234,567", "1,234,56", "1,234,5678",
                             "12,34.5", "1.234,5", "0,5"})
        EXPECT_FALSE(Currency::parse(QString::fromUtf8(text)).has_value()) << text;
}

TEST(Currency, FormatsExactly) {
    EXPECT_EQ(Currency::fromRaw(12345000).toString(), QStringLiteral("1234.5"));
    EXPECT_EQ(Currency::fromRaw(0).toString(), QStringLiteral("0"));
    EXPECT_EQ(Currency::fromRaw(-1).toString(), QStringLiteral("-0.0001"));
    EXPECT_EQ(Currency::fromRaw(12345000).format(2, true), QStringLiteral("1,234.50"));
    EXPECT_EQ(Currency::fromRaw(-1234567890).format(2, true), QStringLiteral("-123,456.79"));
    EXPECT_EQ(Currency::fromRaw(-49).format(2), QStringLiteral("0.00")); // no "-0.00"
    EXPECT_EQ(Currency::fromRaw(std::numeric_limits<std::int64_t>::min()).toString(),
              QStringLiteral("-922337203685477.5808"));
}

TEST(Currency, ArithmeticIsExactAndOverflowIsAnError) {
    Currency sum;
    for (int i = 0; i < 10000; ++i)
        sum += Currency::fromRaw(1);
    EXPECT_EQ(sum, Currency::fromUnits(1));
    EXPECT_LT(Currency::fromRaw(-1), Currency());

    const Currency max = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(max + Currency::fromRaw(1), CurrencyOverflow);
    EXPECT_THROW(-max - Currency::fromRaw(2), CurrencyOverflow);
    EXPECT_THROW(-Currency::fromRaw(std::numeric_limits<std::int64_t>::min()), CurrencyOverflow);
    EXPECT_THROW(Currency::fromUnits(std::numeric_limits<std::int64_t>::max() / 1000), CurrencyOverflow);
    EXPECT_THROW(Currency::parse(QStringLiteral("922337203685477.5808")), CurrencyOverflow);
    EXPECT_EQ(Currency::parse(QStringLiteral("922337203685477.5807"))->raw(),
              std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Currency::parse(QStringLiteral("-922337203685477.5808"))->raw(),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_THROW(Currency::parse(QStringLiteral("99999999999999999999999")), CurrencyOverflow);
}
