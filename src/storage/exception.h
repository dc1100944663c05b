#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// What went wrong, in the terms a user can act on. `Said`: the message is
// already written for the user, in the interface language. `Busy`: another
// program holds the file; `BusyHere`: a long piece of this program's own
// work (an import) does.
enum class EFault {
    Said,
    Busy,
    BusyHere,
    ReadOnly,
    Full,
    Damaged,
    MissingPart,
    CannotRead,
    CannotWrite,
    CannotPlay,
    Unexpected
};

// The one base of the program's own errors: the message with the technical
// detail, what went wrong, and the file it concerns. Commands let these
// leave; the command guard shows the user a sentence for the fault and
// writes the message to stderr.
class Exception : public std::exception {
public:
    explicit Exception(QString message, EFault fault = EFault::Said, QString file = QString())
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()), m_fault(fault),
          m_file(std::move(file)) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }
    EFault fault() const noexcept { return m_fault; }
    const QString& file() const noexcept { return m_file; }

private:
    QString m_message;
    QByteArray m_utf8;
    EFault m_fault;
    QString m_file;
};

// A text file that could not be read or written; the message names the file.
class EFileError : public Exception {
public:
    EFileError(QString message, EFault fault, QString file)
        : Exception(std::move(message), fault, std::move(file)) {}
};
