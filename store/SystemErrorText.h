#pragma once

#include <QString>

class QIODevice;

namespace store {

/// What a system error number (errno) means, in Chinese, for the messages a user reads. The
/// system's own texts follow the desktop's language, which is often not Chinese.
QString systemErrorText(int error);

/// What the device's last failure means, in Chinese: the text of its system error where it
/// was one, the device's own text where that is already Chinese, else what the device failed
/// to do (for a file: open, read, write, rename ...).
QString deviceErrorText(const QIODevice& device);

} // namespace store
