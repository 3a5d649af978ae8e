#pragma once

#include "GbkText.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>

class QIODevice;

namespace lists {

/// A device that stopped taking bytes in the middle of an export (disk full,
/// a closed pipe); carries the device's own error text.
class ExportWriteError : public std::runtime_error {
public:
    explicit ExportWriteError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message) {}

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

/// The bytes of one export on their way to a device: collected in a buffer
/// and handed over in large pieces, with text turned into GBK on the way.
class ExportStream {
public:
    explicit ExportStream(QIODevice& device);
    /// Hands over what is left; a writer calls finish() to learn of errors.
    ~ExportStream();
    ExportStream(const ExportStream&) = delete;
    ExportStream& operator=(const ExportStream&) = delete;

    ExportStream& operator<<(const char* ascii) {
        m_buffer.append(ascii);
        return *this;
    }
    ExportStream& operator<<(const QByteArray& bytes) {
        m_buffer.append(bytes);
        return *this;
    }
    ExportStream& operator<<(char c) {
        m_buffer.append(c);
        return *this;
    }
    ExportStream& operator<<(int value);

    /// Appends `text` as GBK bytes.
    void text(QStringView text) { m_encoder.append(m_buffer, text); }
    /// The GBK bytes of `text`, for callers that transform them further;
    /// valid until the next call.
    const QByteArray& gbk(QStringView text) {
        m_scratch.truncate(0); // keeps its room: no allocation per cell
        m_encoder.append(m_scratch, text);
        return m_scratch;
    }

    /// The pending bytes, for writers that append to them directly.
    QByteArray& buffer() { return m_buffer; }

    /// Hands the buffer to the device once it has grown large.
    void flushIfFull() {
        if (m_buffer.size() >= FlushSize)
            flush();
    }
    /// Hands over everything; throws ExportWriteError if the device refuses.
    void finish() { flush(); }

private:
    static constexpr qsizetype FlushSize = 1 << 20;

    void flush();

    QIODevice& m_device;
    QByteArray m_buffer;
    QByteArray m_scratch;
    GbkEncoder m_encoder;
};

} // namespace lists
