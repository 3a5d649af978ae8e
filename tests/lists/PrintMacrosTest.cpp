#include "lists/PageMacros.h"
#include "lists/PrintSetup.h"

#include <gtest/gtest.h>

using lists::expandPageMacros;
using lists::PageMacroValues;

namespace {

const QDateTime kMoment(QDate(2005, 3, 1), QTime(9, 5, 7));

PageMacroValues pageOf(int page, int pages) {
    return {page, pages, kMoment};
}

} // namespace

TEST(PageMacros, PageNumbersAndCountInAnyLetterCase) {
    EXPECT_EQ(expandPageMacros(QStringLiteral("第&[Page]页"), pageOf(2, 7)),
              QStringLiteral("第2页"));
    EXPECT_EQ(expandPageMacros(QStringLiteral("&[page]/&[PAGES]"), pageOf(12, 31)),
              QStringLiteral("12/31"));
    EXPECT_EQ(expandPageMacros(QStringLiteral("&[Page]&[Page]"), pageOf(3, 3)),
              QStringLiteral("33"));
}

TEST(PageMacros, DatesAndTimeOfTheMoment) {
    EXPECT_EQ(expandPageMacros(QStringLiteral("&[ShortDate] &[date]"), pageOf(1, 1)),
              QStringLiteral("2005-3-1 2005-3-1"));
    EXPECT_EQ(expandPageMacros(QStringLiteral("&[LongDate]"), pageOf(1, 1)),
              QStringLiteral("2005年3月1日"));
    EXPECT_EQ(expandPageMacros(QStringLiteral("&[Time]"), pageOf(1, 1)), QStringLiteral("9:05:07"));
}

TEST(PageMacros, DoubledAmpersandAndUnknownNamesStayAsWritten) {
    EXPECT_EQ(expandPageMacros(QStringLiteral("&&[Page]"), pageOf(4, 9)),
              QStringLiteral("&&[Page]"));
    EXPECT_EQ(expandPageMacros(QStringLiteral("&&[Page] &[Page]"), pageOf(4, 9)),
              QStringLiteral("&&[Page] 4"));
    EXPECT_EQ(expandPageMacros(QStringLiteral("&[Pagex] &[Foo] &[Page"), pageOf(4, 9)),
              QStringLiteral("&[Pagex] &[Foo] &[Page"));
    EXPECT_EQ(expandPageMacros(QStringLiteral("R&D &"), pageOf(4, 9)), QStringLiteral("R&D &"));
}

TEST(PrintSetup, StandardSubstitutionsNameTheMomentAndTheOperator) {
    lists::PrintSetup setup = lists::PrintSetup::standard(QStringLiteral("现金日记帐打印清单"));
    lists::setStandardSubstitutions(setup, QStringLiteral("王小明"),
                                    QDateTime(QDate(2005, 12, 31), QTime(17, 4, 9)));
    ASSERT_EQ(setup.substitutions.size(), 2);
    EXPECT_EQ(setup.substitutions[0].first, QStringLiteral("%[Today]"));
    EXPECT_EQ(setup.substitutions[0].second, QStringLiteral("打印时间:2005-12-31 17:04:09"));
    EXPECT_EQ(setup.substitutions[1].second, QStringLiteral("制表:王小明 ."));
    EXPECT_EQ(lists::substitute(setup.afterGridText, setup.substitutions),
              QStringLiteral("打印时间:2005-12-31 17:04:09") + QString(21, QLatin1Char(' ')) +
                  QStringLiteral("制表:王小明 ."));

    // Set again at every print: a later operator replaces the earlier one.
    lists::setStandardSubstitutions(setup, QStringLiteral("李四"),
                                    QDateTime(QDate(2006, 1, 2), QTime(8, 0)));
    EXPECT_EQ(setup.substitutions.size(), 2);
    EXPECT_EQ(setup.substitutions[1].second, QStringLiteral("制表:李四 ."));
    // The setup keeps its placeholders for the next print.
    EXPECT_TRUE(setup.afterGridText.startsWith(QStringLiteral("%[Today]")));
}

TEST(PrintSetup, ListWindowsOpenWithTheStandardSettings) {
    const lists::PrintSetup s = lists::PrintSetup::standard(QStringLiteral("操作员及权限打印清单"));
    EXPECT_EQ(s.marginsCm, QMarginsF(2, 2, 2, 2));
    EXPECT_TRUE(s.fitToPageWidth);
    EXPECT_EQ(s.fitKind, lists::PrintSetup::FitKind::ScaleGrid);
    EXPECT_TRUE(s.autoStretchRows);
    EXPECT_FALSE(s.colouredPrinting);
    EXPECT_FALSE(s.optimalColumnWidths);
    EXPECT_FALSE(s.printFont.has_value());
    EXPECT_EQ(s.headerLeft, QStringList({QString(), QStringLiteral("第&[Page]页")}));
    EXPECT_EQ(s.headerCentre, QStringList({QStringLiteral("操作员及权限打印清单")}));
    EXPECT_TRUE(s.headerRight.isEmpty());
    EXPECT_TRUE(s.footerLeft.isEmpty() && s.footerCentre.isEmpty() && s.footerRight.isEmpty());
    EXPECT_EQ(s.headerFont.family(), QStringLiteral("宋体"));
    EXPECT_EQ(s.headerFont.pointSizeF(), 12.0);
    EXPECT_EQ(s.afterGridFont.pointSizeF(), 8.0);
    EXPECT_EQ(s.pageSize.id(), QPageSize::A4);
    EXPECT_EQ(s.orientation, QPageLayout::Portrait);
}
