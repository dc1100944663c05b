#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The system's files hold single-byte text in the Windows-1250 code page.
// These two functions are the only crossing between those bytes and QString.
//
// Every byte decodes to one character, the five bytes the code page leaves
// undefined (0x81 0x83 0x88 0x90 0x98) to the control characters of the same
// number, so that any file reads and writes back byte for byte. A character
// the code page cannot hold is written as "?", one per character.
namespace Cp1250 {
QString decode(QByteArrayView bytes);
// Decodes the bytes onto the end of the text.
void appendDecoded(QByteArrayView bytes, QString& text);
QByteArray encode(QStringView text);
} // namespace Cp1250
