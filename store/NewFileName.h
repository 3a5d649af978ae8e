#pragma once

#include <QString>

namespace store {

/// Gives the file or folder `from` the name `to` in one step, only while no
/// file or folder is named `to`: true when done, otherwise false with errno
/// set (EEXIST when `to` was taken).
bool renameToFreeName(const QString& from, const QString& to);

} // namespace store
