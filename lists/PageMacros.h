#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace lists {

/// What the page macros of a header or footer line stand for on one page.
struct PageMacroValues {
    int page = 1;
    int pages = 1;
    QDateTime now;
};

/// Expands "&[Page]", "&[Pages]", "&[ShortDate]", "&[Date]", "&[LongDate]"
/// and "&[Time]" in any letter case. A macro right after another "&" stays
/// as written, so "&&[Page]" prints literally.
QString expandPageMacros(const QString& text, const PageMacroValues& values);

/// The long time of day: "9:05:07".
QString longTimeText(const QTime& time);
/// The long date: "2005年3月1日".
QString longDateText(const QDate& date);

} // namespace lists
