#include "StartTiming.h"

#include <QAbstractButton>
#include <QDialog>
#include <QElapsedTimer>

#include <cstdio>

namespace app {

namespace {

// Started while the program's static objects are made, before main.
const QElapsedTimer programStart = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
}();

} // namespace

void reportStartIfTimed(QDialog* login) {
    if (qEnvironmentVariableIsEmpty(kStartTimingVariable))
        return;
    std::printf("login shown after %lld ms\n", static_cast<long long>(programStart.elapsed()));
    std::fflush(stdout);
    if (auto* leave = login->findChild<QAbstractButton*>(QStringLiteral("bitbtn_cancel")))
        leave->click();
}

} // namespace app
