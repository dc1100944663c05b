#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>
#include <QStringList>

// Line-oriented text files: the settings file, the view files, language files
// and exports. Lines are written in Windows-1250, each ended by CR LF.
namespace LineFile {

// Splits file bytes into lines. CR LF, a lone LF and a lone CR each end a
// line; a last line without its end counts; undefined bytes are kept.
QStringList split(QByteArrayView bytes);

// Reads the whole file. Throws EFileError naming the file when it cannot be read.
QStringList read(const QString& path);

// Writes the lines atomically: the file holds either its old content or all
// the new lines, never a part of them. A line holding CR or LF would shift
// every line after it, so it is refused and nothing is written. Throws
// EFileError naming the file.
void write(const QString& path, const QStringList& lines);

// The same for a text file whose pieces may hold line breaks of their own
// (an exported body): each piece is written as it is, ended by CR LF.
void writeTexts(const QString& path, const QStringList& texts);

// Bytes as they are, into a file that is replaced only once all of them are
// written.
void writeBytes(const QString& path, QByteArray bytes);

// A file written in pieces, for exports too large to gather first: append to
// buffer(), call written() now and then, and commit() at the end. The file
// is replaced only by commit(); a writer dropped before it, or one that
// fails, leaves the old file as it was. Throws EFileError naming the file.
class Writer {
public:
    explicit Writer(const QString& path);
    QByteArray& buffer() { return m_buffer; }
    // Writes the buffer out once it has grown large.
    void written() {
        if (m_buffer.size() >= kChunk)
            flush();
    }
    void commit();

private:
    static constexpr qsizetype kChunk = 1 << 20;
    void flush();
    [[noreturn]] void fail();
    QSaveFile m_file;
    QByteArray m_buffer;
};

} // namespace LineFile
