#include "WholeFile.h"

#include "SystemErrorText.h"

#include <QSaveFile>

namespace store {

QString abandonWholeFile(QSaveFile& file) {
    const QString reason = deviceErrorText(file);
    file.cancelWriting();
    file.commit(); // removes the temporary file
    return reason;
}

QString commitWholeFile(QSaveFile& file) {
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return abandonWholeFile(file);
    if (!file.commit())
        return deviceErrorText(file);
    return QString();
}

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return deviceErrorText(file);
    return commitWholeFile(file);
}

} // namespace store
