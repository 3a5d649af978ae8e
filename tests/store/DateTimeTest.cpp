#include "store/DateTime.h"

#include <gtest/gtest.h>

using store::DateTime;

TEST(DateTime, CountsDaysFromTheEndOf1899) {
    EXPECT_TRUE(DateTime().isZero());
    EXPECT_EQ(DateTime().date(), QDate(1899, 12, 30));
    EXPECT_EQ(DateTime::fromDate(QDate(1900, 1, 1)).serial(), 2.0);
    EXPECT_EQ(DateTime::fromDate(QDate(2005, 3, 1)).serial(), 38412.0);
    const DateTime noon = DateTime::fromDateTime(QDate(2005, 3, 1), QTime(12, 0));
    EXPECT_DOUBLE_EQ(noon.serial(), 38412.5);
    EXPECT_EQ(noon.time(), QTime(12, 0));
    // Before day 0 the fraction still counts forward within the day.
    const DateTime early = DateTime::fromDateTime(QDate(1899, 12, 29), QTime(6, 0));
    EXPECT_DOUBLE_EQ(early.serial(), -1.25);
    EXPECT_EQ(early.date(), QDate(1899, 12, 29));
    EXPECT_EQ(early.time(), QTime(6, 0));
    // The last second of a day stays on that day.
    const DateTime late = DateTime::fromDateTime(QDate(2005, 3, 31), QTime(23, 59, 59));
    EXPECT_EQ(late.date(), QDate(2005, 3, 31));
    EXPECT_EQ(late.dateOnly(), DateTime::fromDate(QDate(2005, 3, 31)));
}

TEST(DateTime, ShortDateTextHasNoLeadingZeros) {
    EXPECT_EQ(DateTime::fromDate(QDate(2005, 9, 1)).toShortDateString(), QStringLiteral("2005-9-1"));
    EXPECT_EQ(DateTime::fromDate(QDate(2005, 12, 31)).toString(), QStringLiteral("2005-12-31"));
    EXPECT_EQ(DateTime::fromDateTime(QDate(2005, 3, 1), QTime(8, 5, 9)).toString(),
              QStringLiteral("2005-3-1 8:05:09"));
}

TEST(DateTime, ReadsEveryDateTextForm) {
    const DateTime first = DateTime::fromDate(QDate(2005, 3, 1));
    EXPECT_EQ(DateTime::parse(QStringLiteral("2005-3-1")), first);
    EXPECT_EQ(DateTime::parse(QStringLiteral("2005-03-01")), first);
    EXPECT_EQ(DateTime::parse(QStringLiteral("2005/3/1")), first);
    EXPECT_EQ(DateTime::parse(QStringLiteral("2005-3-1 0:0:0")), first);
    EXPECT_EQ(DateTime::parse(QStringLiteral("2005-3-31 23:59:59")),
              DateTime::fromDateTime(QDate(2005, 3, 31), QTime(23, 59, 59)));
    EXPECT_EQ(DateTime::parse(QStringLiteral("2005-3-1 08:30")),
              DateTime::fromDateTime(QDate(2005, 3, 1), QTime(8, 30)));
    for (const char* bad : {"abc", "", "2005-2-30", "2005-13-1", "2005-3-1 24:0:0", "2005-3-1 1:60:0",
                            "2005-3", "2005-3/1", "1-2-3-4"})
        EXPECT_FALSE(DateTime::parse(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(DateTime, ATypedDayHasAFourDigitYearAndNoTime) {
    const DateTime first = DateTime::fromDate(QDate(2005, 3, 1));
    for (const char* day : {"2005-3-1", "2005-03-01", "2005/3/1", " 2005/03/1 "})
        EXPECT_EQ(DateTime::parseDay(QString::fromUtf8(day)), first) << day;
    EXPECT_EQ(DateTime::parseDay(QStringLiteral("1000-1-1")),
              DateTime::fromDate(QDate(1000, 1, 1)));
    EXPECT_EQ(DateTime::parseDay(QStringLiteral("9999-12-31")),
              DateTime::fromDate(QDate(9999, 12, 31)));
    for (const char* bad : {"2005-3-1 10:00", "2005-3-1 0:0:0", "05-3-1", "5-3-1", "0026-1-1",
                            "20050-3-1", "2005-3/1", "2005-2-29", "2005-0-1", "2005-3-001",
                            "2005-3", "", "2005-3-1x", "２００５-3-1"})
        EXPECT_FALSE(DateTime::parseDay(QString::fromUtf8(bad)).has_value()) << bad;
}
