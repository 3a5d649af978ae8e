#pragma once

#include <QString>

#include <stdexcept>

namespace store {

/// Every failure of the database engine, carrying the engine's message text.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace store
