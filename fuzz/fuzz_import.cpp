// Bytes of a file to import: its encoding, its lines, their columns and
// their values, as the address book's import reads them.
#include "addressbook/contactimport.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const TextEncoding encoding = ImportEncoding(file);
    if (encoding == TextEncoding::NotText)
        return 0; // refused before anything is read
    file.seek(0);
    TLineReader reader(file, encoding);
    QByteArrayView line;
    QList<QByteArrayView> columns;
    qsizetype lines = 0;
    while (reader.next(line)) {
        if (line.contains('\r') || line.contains('\n') || ++lines > qsizetype(size) + 1)
            __builtin_trap();
        for (const char separator : {';', ',', '\t'}) {
            SplitImportLine(line, separator, columns);
            if (columns.size() > kImportColumns + 1 || !columns.first().isEmpty())
                __builtin_trap();
            for (QByteArrayView column : columns)
                if (CleanImportValue(column).size() > column.size())
                    __builtin_trap();
        }
    }
    // A byte file is read to its last byte.
    if ((encoding == TextEncoding::Cp1250 || encoding == TextEncoding::Utf8) &&
        reader.consumed() != qint64(size))
        __builtin_trap();
    return 0;
}
