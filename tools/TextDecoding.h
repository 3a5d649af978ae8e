#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tools {

/// GBK bytes as text; nothing for bytes GBK does not hold.
std::optional<QString> decodeGbk(const QByteArray& bytes);

/// The text of a file a spreadsheet or this program wrote: UTF-8 after its
/// byte-order mark, UTF-8 when the bytes are valid UTF-8, otherwise GBK
/// (what the program's exports hold). Nothing when it is neither.
std::optional<QString> decodeImportText(const QByteArray& bytes);

} // namespace tools
