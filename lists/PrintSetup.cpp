#include "PrintSetup.h"

#include "ListWindowTraits.h"
#include "PageMacros.h"

#include "store/DateTime.h"

namespace lists {

PrintSetup PrintSetup::standard(const QString& title) {
    PrintSetup setup;
    setup.headerLeft = {QString(), QStringLiteral("第&[Page]页")};
    setup.headerCentre = {title};

    setup.headerFont = QFont(QStringLiteral("宋体"));
    setup.headerFont.setPointSizeF(12.0); // 16 pixels on the screen
    setup.footerFont = QFont(QStringLiteral("MS Sans Serif"));
    setup.footerFont.setPointSizeF(8.25); // 11 pixels on the screen

    setup.afterGridText =
        QStringLiteral("%[Today]") + QString(21, QLatin1Char(' ')) + QStringLiteral("%[czy]");
    setup.afterGridFont = QFont(QStringLiteral("MS Sans Serif"));
    setup.afterGridFont.setPointSizeF(8.0);
    return setup;
}

PrintSetup listWindowPrintSetup(const ListWindowTraits& traits) {
    PrintSetup setup = PrintSetup::standard(traits.printTitle);
    if (traits.blankRightHeaderLine)
        setup.headerRight = {QString()};
    return setup;
}

QString substitute(QString text, const QList<std::pair<QString, QString>>& pairs) {
    for (const auto& [placeholder, value] : pairs) {
        if (!placeholder.isEmpty())
            text.replace(placeholder, value);
    }
    return text;
}

void setStandardSubstitutions(PrintSetup& setup, const QString& operatorName,
                              const QDateTime& now) {
    setup.substitutions = {
        {QStringLiteral("%[Today]"), QStringLiteral("打印时间:") +
                                         store::shortDateText(now.date()) + QLatin1Char(' ') +
                                         longTimeText(now.time())},
        {QStringLiteral("%[czy]"), QStringLiteral("制表:") + operatorName + QStringLiteral(" .")},
    };
}

} // namespace lists
