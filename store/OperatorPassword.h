#pragma once

#include <QString>

namespace store::operatorPassword {

/// What `操作口令` keeps for a password: empty for an empty password, else a
/// salted Argon2id hash of the upper-cased text. Throws EngineError when the
/// hash cannot be made (out of memory).
QString toStored(const QString& password);

/// Whether the typed password opens the stored value: a hash, or the clear
/// text an older book still holds.
bool matches(const QString& typed, const QString& stored);

/// True for a clear password of an older book, which is to be replaced by its hash.
bool isClear(const QString& stored);

} // namespace store::operatorPassword
