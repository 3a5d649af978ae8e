#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

namespace lists {

/// Runs `work` in a child process that may use at most `memoryBytes` of
/// memory beyond what this one has, and returns the bytes it gave back.
/// Nothing when the work failed: it ran out of memory, crashed, gave back
/// more than `maxAnswerBytes` or was not done within `seconds`. For a
/// library that, reading a crafted file, could take all the memory there
/// is, loop for ever or fall over: this program does none of that with it.
/// The child has only the calling thread: `work` must not wait for a lock
/// another thread may hold (it calls no Qt that does; plain C libraries,
/// QString and QDataStream over a QByteArray are fine).
std::optional<QByteArray> runConfined(const std::function<QByteArray()>& work, qint64 memoryBytes,
                                      qint64 maxAnswerBytes, int seconds);

} // namespace lists
