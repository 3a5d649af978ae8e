#include "LoginDelay.h"

#include "store/Connection.h"
#include "store/EngineError.h"
#include "store/EngineTable.h"

#include <QTimer>

#include <algorithm>

namespace app {

namespace {

const QString kFailuresKey = QStringLiteral("failed-logins");

LoginDelay::Waiter& waiter() {
    static LoginDelay::Waiter current = [](std::chrono::milliseconds wait, QObject* context,
                                           std::function<void()> then) {
        QTimer::singleShot(wait, context, std::move(then));
    };
    return current;
}

void keep(store::Connection& book, int failures) {
    store::EngineTable::setValue(book.database(), kFailuresKey, QString::number(failures));
}

} // namespace

std::chrono::milliseconds LoginDelay::after(int failures) {
    if (failures <= 0)
        return std::chrono::milliseconds(0);
    const int seconds = failures > 5 ? 30 : std::min(30, 1 << (failures - 1));
    return std::chrono::seconds(seconds);
}

int LoginDelay::failures(store::Connection& book) {
    try {
        return std::max(0, store::EngineTable::value(book.database(), kFailuresKey).toInt());
    } catch (const store::EngineError&) {
        return 0;
    }
}

int LoginDelay::addFailure(store::Connection& book, int known) {
    const int count = std::max(known, failures(book)) + 1;
    try {
        keep(book, count);
    } catch (const store::EngineError&) {
    }
    return count;
}

void LoginDelay::clear(store::Connection& book) {
    try {
        if (failures(book) != 0)
            keep(book, 0);
    } catch (const store::EngineError&) {
    }
}

void LoginDelay::wait(std::chrono::milliseconds wait, QObject* context,
                      std::function<void()> then) {
    waiter()(wait, context, std::move(then));
}

void LoginDelay::setWaiter(Waiter replacement) {
    waiter() = std::move(replacement);
}

} // namespace app
