#pragma once

#include <QString>

class QByteArray;
class QSaveFile;

namespace store {

/// Puts a file written through QSaveFile in place of the previous one only
/// when every byte reached the disk. QSaveFile::commit() alone misses a
/// failure of the last buffered write (a full disk) and would rename an empty
/// or cut file over the previous one. On failure the temporary file is gone,
/// the previous file stays, and the answer says why in Chinese; an empty
/// answer means the file is in place.
QString commitWholeFile(QSaveFile& file);

/// Gives up a file being written through QSaveFile after a failed write: the
/// temporary file goes, the previous file stays. Returns why the write failed,
/// in Chinese (cancelling alone would leave only "cancelled" to tell).
QString abandonWholeFile(QSaveFile& file);

/// Puts `bytes` in place of the file at `path` the same way; an empty answer
/// means written, else why not.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace store
