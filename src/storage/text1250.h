#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

// The system's files hold single-byte text in the Windows-1250 code page.
// The functions below are the only crossing between those bytes and QString.
//
// Every byte decodes to one character, the five bytes the code page leaves
// undefined (0x81 0x83 0x88 0x90 0x98) to the control characters of the same
// number, so that any file reads and writes back byte for byte. A character
// the code page cannot hold is written as "?", one per character.
namespace Cp1250 {
QString decode(QByteArrayView bytes);
// Decodes the bytes onto the end of the text.
void appendDecoded(QByteArrayView bytes, QString& text);
// `lost`, when given, is set when a character had to become "?".
QByteArray encode(QStringView text, bool* lost = nullptr);
// The same into `bytes`, whose room is used again.
void encodeInto(QStringView text, QByteArray& bytes, bool* lost = nullptr);
// The characters of the text that the code page cannot hold, each once, in
// the order they first come: one outside the basic plane whole, a lone half
// of one as it is.
QStringList unstorable(QStringView text);
} // namespace Cp1250
