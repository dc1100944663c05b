// Bytes of a line-oriented file: split, written back, read again.
#include "storage/linefile.h"
#include "storage/text1250.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const QStringList lines = LineFile::split(bytes);
    // Every byte but the line ends survives, and splitting is stable.
    qsizetype kept = 0;
    for (const QString& line : lines)
        kept += Cp1250::encode(line).size();
    qsizetype expected = 0;
    for (char c : bytes)
        expected += (c != '\r' && c != '\n');
    if (kept != expected)
        __builtin_trap();
    QByteArray rewritten;
    for (const QString& line : lines)
        rewritten += Cp1250::encode(line) + "\r\n";
    if (LineFile::split(rewritten) != lines)
        __builtin_trap();
    return 0;
}
