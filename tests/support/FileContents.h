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

/// Writes `text` in UTF-8 to `folder`/`name`, replacing the file; its path.
inline QString writtenFile(const QString& folder, const char* name, const QString& text) {
    const QString path = folder + QLatin1Char('/') + QString::fromUtf8(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    return path;
}

} // namespace testing_support
