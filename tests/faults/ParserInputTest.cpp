// Seeded random text through the date and amount readers behind cdate and
// ccur, and through the quoting helper into real statements: no crash, no
// hang, a value that reads back as written, or a clear refusal.

#include "RandomText.h"

#include "support/TestDatabase.h"

#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/EngineError.h"
#include "store/Query.h"
#include "store/SqlText.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <limits>

namespace {

using faults::RandomText;
using store::Currency;
using store::DateTime;

constexpr unsigned kSeed = 1907;
constexpr int kRounds = 20000;

bool hasOtherDigit(const QString& text) {
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() >= 128)
            return true;
    }
    return false;
}

TEST(DateParser, ReadsWhatItWritesAndRefusesTheRest) {
    RandomText random(kSeed);
    QElapsedTimer timer;
    timer.start();
    int read = 0;
    for (int round = 0; round < kRounds; ++round) {
        QString text;
        int y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0;
        const bool structured = random.chance(40);
        if (structured) {
            y = random.number(0, 9999);
            m = random.number(0, random.chance(80) ? 12 : 99);
            d = random.number(0, random.chance(80) ? 31 : 99);
            h = random.number(0, random.chance(80) ? 23 : 99);
            mi = random.number(0, random.chance(80) ? 59 : 99);
            s = random.number(0, random.chance(80) ? 59 : 99);
            text = QStringLiteral("%1-%2-%3 %4:%5:%6").arg(y).arg(m).arg(d).arg(h).arg(mi).arg(s);
        } else {
            text = random.chance(50) ? random.numericText(24) : random.anyText(16);
        }
        const std::optional<DateTime> date = DateTime::parse(text);
        SCOPED_TRACE(QStringLiteral("round %1: '%2'").arg(round).arg(text).toStdString());
        if (structured) {
            const bool valid = QDate(y, m, d).isValid() && QTime(h, mi, s).isValid();
            ASSERT_EQ(date.has_value(), valid);
            if (valid) {
                EXPECT_EQ(date->date(), QDate(y, m, d));
                EXPECT_EQ(date->time(), QTime(h, mi, s));
            }
        }
        if (hasOtherDigit(text)) {
            EXPECT_FALSE(date) << "digits of another script read as a date";
        }
        // A typed day is a date the general reader agrees on, with no time and a four-digit year.
        if (const std::optional<DateTime> day = DateTime::parseDay(text)) {
            EXPECT_EQ(day, date);
            EXPECT_EQ(day->dateOnly(), *day);
            EXPECT_GE(day->date().year(), 1000);
        }
        if (!date)
            continue;
        ++read;
        EXPECT_TRUE(date->date().isValid());
        EXPECT_EQ(DateTime::parse(date->toString()), date);
        EXPECT_EQ(DateTime::parse(date->toShortDateString()), date->dateOnly());
    }
    EXPECT_GT(read, kRounds / 10);
    EXPECT_LT(timer.elapsed(), 20000);
}

/// The amount an amount text stands for, worked out digit by digit in 128
/// bits: nothing for unreadable text, a value past 64 bits for an overflow.
std::optional<__int128> expectedRaw(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    __int128 units = 0;
    int intDigits = 0;
    const int intStart = i;
    for (; i < t.size(); ++i) {
        if (t[i] >= u'0' && t[i] <= u'9') {
            units = std::min<__int128>(units * 10 + (t[i].unicode() - u'0'), __int128(1) << 100);
            ++intDigits;
        } else if (t[i] != u',') {
            break;
        }
    }
    // Separators only between groups of three: "1,234,567", never "1,50".
    static const QRegularExpression grouped(QStringLiteral("^[0-9]{1,3}(,[0-9]{3})*$"));
    const QString whole = t.mid(intStart, i - intStart);
    if (whole.contains(u',') && !grouped.match(whole).hasMatch())
        return std::nullopt;
    __int128 fraction = 0;
    int fracDigits = 0;
    bool roundUp = false;
    if (i < t.size() && t[i] == u'.') {
        for (++i; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++fracDigits) {
            if (fracDigits < 4)
                fraction = fraction * 10 + (t[i].unicode() - u'0');
            else if (fracDigits == 4)
                roundUp = t[i] >= u'5';
        }
    }
    if (i != t.size() || (intDigits == 0 && fracDigits == 0))
        return std::nullopt;
    for (int k = std::min(fracDigits, 4); k < 4; ++k)
        fraction *= 10;
    const __int128 magnitude = units * 10000 + fraction + (roundUp ? 1 : 0);
    return negative ? -magnitude : magnitude;
}

TEST(AmountParser, ReadsExactlyOrRefusesOrOverflows) {
    RandomText random(kSeed + 1);
    QElapsedTimer timer;
    timer.start();
    int read = 0;
    int overflows = 0;
    for (int round = 0; round < kRounds; ++round) {
        QString text;
        switch (random.number(0, 3)) {
        case 0: { // as an amount field shows it, now and then far too long
            text = random.chance(30) ? QStringLiteral("-") : QString();
            const QString whole = random.digits(random.chance(10) ? 25 : 12);
            const bool grouped = random.chance(50);
            for (int k = 0; k < whole.size(); ++k) {
                if (k > 0 && (whole.size() - k) % 3 == 0 && grouped)
                    text += u',';
                text += whole[k];
            }
            if (random.chance(70))
                text += u'.' + random.digits(7);
            break;
        }
        case 1:
            text = random.numericText(20);
            break;
        default:
            text = random.anyText(12);
        }
        SCOPED_TRACE(QStringLiteral("round %1: '%2'").arg(round).arg(text).toStdString());
        const std::optional<__int128> expected = expectedRaw(text);
        const bool fits = expected && *expected >= std::numeric_limits<qint64>::min() &&
                          *expected <= std::numeric_limits<qint64>::max();
        std::optional<Currency> amount;
        try {
            amount = Currency::parse(text);
        } catch (const store::CurrencyOverflow&) {
            ++overflows;
            EXPECT_TRUE(expected && !fits) << "overflow reported for a readable amount";
            continue;
        }
        ASSERT_EQ(amount.has_value(), expected.has_value());
        if (!amount)
            continue;
        ASSERT_TRUE(fits);
        ++read;
        EXPECT_EQ(amount->raw(), qint64(*expected));
        EXPECT_EQ(Currency::parse(amount->toString()), amount);
        EXPECT_EQ(Currency::parse(amount->format(4, true)), amount);
    }
    EXPECT_GT(read, kRounds / 5);
    EXPECT_GT(overflows, 10);
    EXPECT_LT(timer.elapsed(), 20000);
}

TEST(AmountParser, EveryStoredAmountReadsBackFromItsTexts) {
    RandomText random(kSeed + 2);
    std::uniform_int_distribution<qint64> any(std::numeric_limits<qint64>::min(),
                                              std::numeric_limits<qint64>::max());
    for (int round = 0; round < kRounds; ++round) {
        const qint64 raw = round < 4 ? std::array<qint64, 4>{std::numeric_limits<qint64>::min(),
                                                              std::numeric_limits<qint64>::max(), 0,
                                                              -1}[round]
                           : random.chance(50) ? any(random.engine())
                                               : random.number(-100000000, 100000000);
        const Currency amount = Currency::fromRaw(raw);
        SCOPED_TRACE(raw);
        EXPECT_EQ(Currency::parse(amount.toString())->raw(), raw);
        EXPECT_EQ(Currency::parse(amount.format(4, true))->raw(), raw);
        if (raw > -9e18 && raw < 9e18) { // two decimals, rounded half away from zero
            const qint64 cents = (raw >= 0 ? raw + 50 : raw - 50) / 100;
            EXPECT_EQ(Currency::parse(amount.format(2, true))->raw(), cents * 100);
        }
    }
}

class QuotedText : public ::testing::Test {
protected:
    testing_support::TestDatabase db;
    store::Query query{&db.connection()};
};

TEST_F(QuotedText, AnyTextRoundTripsThroughAnInsertAndAnEqualsQuery) {
    RandomText random(kSeed + 3);
    namespace sql = store::sql;
    for (int round = 0; round < 400; ++round) {
        const QString text = random.anyText(40);
        SCOPED_TRACE(QStringLiteral("round %1: '%2'").arg(round).arg(text).toStdString());
        query.execWith({QStringLiteral("insert into 摘要 (摘要, 属性) values (") + sql::quoted(text) +
                        QStringLiteral(", '增加')")});
        query.openWith({QStringLiteral("select * from 摘要 where "), sql::equals(QStringLiteral("摘要"), text)});
        ASSERT_EQ(query.recordCount(), 1);
        EXPECT_EQ(query.fieldByName(QStringLiteral("摘要")).asString(), text);
        // Typed into a search, the same text keeps to its literal: wildcards act, nothing else does.
        query.openWith({QStringLiteral("select * from 现金日记帐 where "),
                        sql::contains(QStringLiteral("明细"), text) + QStringLiteral("and") +
                            sql::startsWith(QStringLiteral("摘要"), text)});
        EXPECT_EQ(query.execWith({QStringLiteral("delete from 摘要 where 摘要 = ") + sql::quoted(text)}), 1);
    }
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from 摘要")).toInt(), 11);
}

TEST_F(QuotedText, AnEmbeddedNulIsRefusedWithAClearMessage) {
    // SQL text ends at a NUL, so no statement can carry one: the statement
    // is refused whole instead of being cut short.
    const QString text = QStringLiteral("a") + QChar(u'\0') + QStringLiteral("'); delete from 摘要; --");
    try {
        query.execWith({QStringLiteral("insert into 摘要 (摘要, 属性) values (") +
                        store::sql::quoted(text) + QStringLiteral(", '增加')")});
        FAIL() << "the statement ran";
    } catch (const store::EngineError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NUL"))) << e.message().toStdString();
    }
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from 摘要")).toInt(), 11);
}

} // namespace
