#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one base of the program's own errors: a message text and nothing else.
// Commands let these leave; the command guard shows the text in the error box.
class Exception : public std::exception {
public:
    explicit Exception(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text file that could not be read or written; the message names the file.
class EFileError : public Exception {
public:
    using Exception::Exception;
};
