// Bytes of a language file, loaded into the language table.
#include "language/languagetable.h"
#include "storage/exception.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One table for every input, as the program keeps one.
    static TLanguageTable table;
    const QStringList before = table.strings();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        table.load(bytes, QStringLiteral("languages/Fuzz.lng"));
    } catch (const EFileError&) {
        // Bytes that are no text: refused, the table as it was.
        if (!bytes.contains('\0') || table.strings() != before)
            __builtin_trap();
        return 0;
    }
    if (table.strings().size() != TLanguageTable::Total)
        __builtin_trap();
    for (const QString& text : table.strings())
        if (text.contains(u'\n') || text.contains(u'\r'))
            __builtin_trap();
    return 0;
}
