#include "ExportStream.h"

#include "store/SystemErrorText.h"

#include <QIODevice>

namespace lists {

ExportStream::ExportStream(QIODevice& device)
    : m_device(device) {
    m_buffer.reserve(FlushSize + FlushSize / 4);
}

ExportStream::~ExportStream() {
    if (m_buffer.isEmpty())
        return;
    try {
        flush();
    } catch (const ExportWriteError&) {
        // Only reached while an earlier error unwinds the writer.
    }
}

ExportStream& ExportStream::operator<<(int value) {
    char digits[12];
    char* end = digits + sizeof digits;
    char* p = end;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : value;
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    m_buffer.append(p, end - p);
    return *this;
}

void ExportStream::flush() {
    const qsizetype size = m_buffer.size();
    if (size == 0)
        return;
    qsizetype written = 0;
    while (written < size) {
        const qint64 n = m_device.write(m_buffer.constData() + written, size - written);
        if (n <= 0) {
            m_buffer.clear();
            throw ExportWriteError(store::deviceErrorText(m_device));
        }
        written += n;
    }
    m_buffer.resize(0);
}

} // namespace lists
