// Bytes of a language file, loaded into the language table.
#include "language/languagetable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {
QTemporaryDir* g_folder = nullptr;

// Language files are read from languages/ under the working folder: a
// temporary one, made once.
void prepareFolder() {
    if (g_folder)
        return;
    g_folder = new QTemporaryDir;
    if (!g_folder->isValid() || !QDir::setCurrent(g_folder->path()) ||
        !QDir().mkpath(QStringLiteral("languages")))
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    prepareFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    prepareFolder();
    QFile file(QStringLiteral("languages/Fuzz.lng"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    TLanguageTable table;
    table.Nahrajretazce(QStringLiteral("&Fuzz"));
    if (table.strings().size() != TLanguageTable::Total)
        __builtin_trap();
    for (const QString& text : table.strings())
        if (text.contains(u'\n') || text.contains(u'\r'))
            __builtin_trap();
    return 0;
}
