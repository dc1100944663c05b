// Bytes of a table of comma-separated values, with the separator the first
// line suggests: read row by row; the rows the program writes of what it
// read read back to the same values.
#include "exchange/csvtable.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

namespace {

QList<QStringList> readAll(const QByteArray& bytes, char separator) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TCsvReader reader(buffer, TextEncoding::Utf8, separator);
    QList<QStringList> rows;
    QStringList row;
    while (reader.next(row))
        rows.append(row);
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QStringList> rows;
    try {
        rows = readAll(bytes, CsvSeparator(QString::fromUtf8(bytes.left(bytes.indexOf('\n')))));
    } catch (const TFormatError&) {
        return 0;
    }
    // As the program writes a table: a byte-order mark first.
    QByteArray written = kUtf8Bom;
    for (const QStringList& row : rows)
        written += CsvRow(row);
    if (readAll(written, ',') != rows)
        __builtin_trap();
    return 0;
}
