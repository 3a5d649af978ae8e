#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testing_support {

/// The bytes of a file, or none when it cannot be read.
inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace testing_support
