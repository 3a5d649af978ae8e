#pragma once

#include <QString>

#include <stdexcept>

namespace store {

/// Every failure of the database engine, carrying the engine's message text.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString& message, int systemError = 0)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_systemError(systemError) {}

    const QString& message() const { return m_message; }
    /// The system's error number (errno) when the disk or the file system failed, not the
    /// data: a full or read-only disk, a file that is missing or may not be opened; else 0.
    int systemError() const { return m_systemError; }

private:
    QString m_message;
    int m_systemError;
};

} // namespace store
