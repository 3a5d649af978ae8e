#include "PageMacros.h"

#include "store/DateTime.h"

#include <array>

namespace lists {

namespace {

enum class Macro { Page, Pages, ShortDate, Date, LongDate, Time };

struct MacroName {
    QLatin1StringView name;
    Macro macro;
};

// "&[Pages]" and "&[Page]" cannot be confused: the closing bracket decides.
constexpr std::array<MacroName, 6> kMacros = {{
    {QLatin1StringView("&[Page]"), Macro::Page},
    {QLatin1StringView("&[Pages]"), Macro::Pages},
    {QLatin1StringView("&[ShortDate]"), Macro::ShortDate},
    {QLatin1StringView("&[Date]"), Macro::Date},
    {QLatin1StringView("&[LongDate]"), Macro::LongDate},
    {QLatin1StringView("&[Time]"), Macro::Time},
}};

const MacroName* macroAt(const QString& text, qsizetype at) {
    if (text[at] != QLatin1Char('&'))
        return nullptr;
    if (at > 0 && text[at - 1] == QLatin1Char('&'))
        return nullptr;
    const QStringView rest = QStringView(text).mid(at);
    for (const MacroName& m : kMacros) {
        if (rest.startsWith(m.name, Qt::CaseInsensitive))
            return &m;
    }
    return nullptr;
}

QString valueOf(Macro macro, const PageMacroValues& values) {
    switch (macro) {
    case Macro::Page:
        return QString::number(values.page);
    case Macro::Pages:
        return QString::number(values.pages);
    case Macro::ShortDate:
    case Macro::Date:
        return store::shortDateText(values.now.date());
    case Macro::LongDate:
        return longDateText(values.now.date());
    case Macro::Time:
        return longTimeText(values.now.time());
    }
    return QString();
}

} // namespace

QString expandPageMacros(const QString& text, const PageMacroValues& values) {
    if (!text.contains(QLatin1String("&[")))
        return text;
    QString result;
    result.reserve(text.size() + 8);
    qsizetype at = 0;
    while (at < text.size()) {
        if (const MacroName* m = macroAt(text, at)) {
            result += valueOf(m->macro, values);
            at += m->name.size();
        } else {
            result += text[at];
            ++at;
        }
    }
    return result;
}

QString longTimeText(const QTime& time) {
    return time.toString(QStringLiteral("H:mm:ss"));
}

QString longDateText(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

} // namespace lists
