#pragma once

#include <QString>

namespace store {

/// Whether the two names reach one file: the same path in another spelling,
/// through a symbolic link, or a hard link (same device and inode).
bool isSameFile(const QString& a, const QString& b);

/// Whether writing `path` would replace the book `database` or a file that
/// belongs to it: the book under any name, its journal files (-wal, -shm,
/// -journal), its lock (.LCK), the file a restore keeps (.bak) or anything in
/// its folder of safety copies.
bool isBookOrItsFile(const QString& database, const QString& path);

} // namespace store
