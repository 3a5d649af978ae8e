#pragma once

#include <QString>

class QIODevice;

namespace store {

/// What a system error number (errno) means, in Chinese, for the messages a user reads. The
/// system's own texts follow the desktop's language, which is often not Chinese.
QString systemErrorText(int error);

/// Not a system error number: a device, pipe or socket where a regular file should be.
constexpr int kNotRegularFile = -1;

/// What keeps `path` from being opened as a regular file, or 0 when nothing does: the
/// system's error number, EISDIR for a folder, kNotRegularFile for anything else.
int notRegularFileError(const QString& path);

/// What the device's last failure means, in Chinese: the text of its system error where it
/// was one, the device's own text where that is already Chinese, else what the device failed
/// to do (for a file: open, read, write, rename ...).
QString deviceErrorText(const QIODevice& device);

} // namespace store
