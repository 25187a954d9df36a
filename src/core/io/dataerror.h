#pragma once
// The one exception type of the data layer. Its message is French, names the
// file or field concerned, and is what the standard error handler shows.
#include <QString>
#include <stdexcept>

class DataError : public std::runtime_error {
public:
    explicit DataError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
