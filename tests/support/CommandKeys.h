#pragma once

#include <QAbstractButton>
#include <QKeySequence>
#include <QMap>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

namespace testing_support {

/// The command buttons of a list window (its flat tool buttons, the navigator's
/// moves aside) that have no key, or whose hint does not name it; and every key
/// that two visible buttons claim. Empty when a keyboard reaches every command.
inline QStringList commandKeyFaults(QWidget* window) {
    QStringList faults;
    QMap<QString, QString> claimed;
    const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* b : buttons) {
        // Qt's own parts (a date field's calendar) and the navigator's moves are no commands.
        const QString object = b->objectName();
        if (b->isHidden() || object.isEmpty() || object.startsWith(QLatin1String("nb")) ||
            object.startsWith(QLatin1String("qt_")))
            continue;
        const QString key = b->shortcut().toString(QKeySequence::NativeText);
        const QString name = b->objectName() + QLatin1Char(' ') + b->text();
        // A caption with a marked letter names its key itself.
        const bool named = b->toolTip().contains(key) || b->text().contains(QLatin1Char('&'));
        if (qobject_cast<QToolButton*>(b) && (key.isEmpty() || !named))
            faults << name + QStringLiteral(": no key in its hint");
        if (!key.isEmpty() && claimed.contains(key))
            faults << name + QStringLiteral(": ") + key + QStringLiteral(" also claimed by ") +
                          claimed[key];
        if (!key.isEmpty())
            claimed[key] = name;
    }
    return faults;
}

} // namespace testing_support
