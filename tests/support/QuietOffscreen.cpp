#include "QuietOffscreen.h"

#include <QString>
#include <QtGlobal>

namespace testing_support {

namespace {

QtMessageHandler previous = nullptr;

void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previous)
        previous(type, context, message);
}

} // namespace

void quietOffscreenWarnings() { previous = qInstallMessageHandler(filter); }

} // namespace testing_support
