#pragma once

#include "storage/exception.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>
#include <optional>

// The byte-order mark a UTF-8 file may start with.
inline const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// What a file to import holds: text in one of these encodings, or no text
// at all (NUL bytes, or many control bytes), which is never imported.
enum class TextEncoding { Cp1250, Utf8, Utf16LE, Utf16BE, NotText };

// Reads a file line by line, whatever its line ends (CR LF, LF, CR),
// holding one line at a time. A UTF-16 file's lines are given as UTF-8,
// without the byte-order mark.
class TLineReader {
public:
    explicit TLineReader(QIODevice& file, TextEncoding encoding = TextEncoding::Cp1250);
    // False at the end of the file. Throws when the file cannot be read.
    // The line is valid until the next call.
    bool next(QByteArrayView& line);
    // The first byte of the line after the one last given, -1 at the end of
    // the file. Reads on when it has to: `line`, the line last given or a
    // part of it, is then given again at its new place.
    int peek(QByteArrayView& line);
    qint64 consumed() const { return m_consumed; }

private:
    bool fill();
    QIODevice& m_file;
    std::optional<QStringDecoder> m_decoder;
    QByteArray m_buffer;
    qsizetype m_start = 0;   // where the next line starts
    qsizetype m_given = 0;   // where the line last given starts, while it is held
    qsizetype m_scanned = 0; // how far line ends have been looked for
    qint64 m_consumed = 0;
    bool m_end = false;
};

// The encoding of a file's text: UTF-16 by its byte-order mark; UTF-8 when
// it starts with its mark, or holds bytes over 127 and all of it is valid
// UTF-8; else the 8-bit code page, in which accented text is practically
// never valid UTF-8. A file with a NUL byte, or with more than one control
// byte in a hundred (other than tab, line ends, form feed, end of file and
// escape), is no text. Reads the whole file, in pieces. Throws when it
// cannot be read.
TextEncoding ImportEncoding(const QString& fileName);
// The same for what a device holds from where it stands.
TextEncoding ImportEncoding(QIODevice& file);

// Bytes of UTF-8 as text, a byte-order mark at their start kept as the
// character it is (a value of a file is never the file's start).
QString Utf8Text(QByteArrayView bytes);
// Text put onto the end of `bytes` as UTF-8.
void AppendUtf8(QByteArray& bytes, QStringView text);

// Opens a file to be read; throws the file error the boxes know.
void OpenForReading(QFile& file);
// The file error of a device that could not be read.
EFileError ReadError(const QIODevice& file);
