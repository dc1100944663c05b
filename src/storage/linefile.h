#pragma once

#include <QByteArrayView>
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

} // namespace LineFile
