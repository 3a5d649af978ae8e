#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

namespace lists {

/// Runs `work` in a child process that may use at most `memoryBytes` of
/// memory beyond what this one has, and returns the bytes it gave back.
/// Nothing when the work failed: it ran out of memory, crashed, or gave
/// back more than `maxAnswerBytes`. For a library that, reading a crafted
/// file, could take all the memory there is or fall over: this program
/// never runs out of memory or falls over with it.
std::optional<QByteArray> runConfined(const std::function<QByteArray()>& work, qint64 memoryBytes,
                                      qint64 maxAnswerBytes);

} // namespace lists
