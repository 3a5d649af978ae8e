#pragma once

#include <QString>

namespace store {

/// Gives the file or folder `from` the name `to` in one step, only while no
/// file or folder is named `to`: true when done, otherwise false with errno
/// set (EEXIST when `to` was taken).
bool renameToFreeName(const QString& from, const QString& to);

/// The hidden temporary in which `target` is made or replaced:
/// ".NAME.XXXXXXXX.tmp" beside it, XXXXXXXX being `tag` in hex.
QString hiddenTemporaryName(const QString& target, quint32 tag);

/// Whether the open descriptor `fd` is still the file or folder named `path`.
bool stillNamed(int fd, const QString& path);

} // namespace store
