#include "linefile.h"

#include "exception.h"
#include "text1250.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

QStringList LineFile::split(QByteArrayView bytes) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r')
            continue;
        lines.append(Cp1250::decode(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(Cp1250::decode(bytes.sliced(start)));
    return lines;
}

QStringList LineFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(u"Cannot read the file \"%1\": %2"_s.arg(path, file.errorString()),
                         EFault::CannotRead, path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileError(u"Cannot read the file \"%1\": %2"_s.arg(path, file.errorString()),
                         EFault::CannotRead, path);
    return split(bytes);
}

void LineFile::write(const QString& path, const QStringList& lines) {
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].contains(u'\r') || lines[i].contains(u'\n'))
            throw EFileError(
                u"Cannot write the file \"%1\": line %2 holds a line break"_s.arg(path).arg(i + 1),
                EFault::Unexpected, path);
    writeTexts(path, lines);
}

void LineFile::writeTexts(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += Cp1250::encode(line);
        bytes += "\r\n";
    }
    writeBytes(path, std::move(bytes));
}

void LineFile::writeBytes(const QString& path, QByteArray bytes) {
    Writer file(path);
    file.buffer() = std::move(bytes);
    file.commit();
}

LineFile::Writer::Writer(const QString& path) : m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly))
        fail();
}

void LineFile::Writer::flush() {
    if (m_file.write(m_buffer.constData(), m_buffer.size()) != m_buffer.size())
        fail();
    m_buffer.resize(0); // keeps the room for the next piece
}

void LineFile::Writer::commit() {
    flush();
    if (!m_file.commit())
        fail();
}

void LineFile::Writer::fail() {
    const QString path = m_file.fileName();
    throw EFileError(u"Cannot write the file \"%1\": %2"_s.arg(path, m_file.errorString()),
                     EFault::CannotWrite, path);
}
