#include "WholeFile.h"

#include "SystemErrorText.h"

#include <QSaveFile>

namespace store {

QString commitWholeFile(QSaveFile& file) {
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = deviceErrorText(file);
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return reason;
    }
    if (!file.commit())
        return deviceErrorText(file);
    return QString();
}

} // namespace store
