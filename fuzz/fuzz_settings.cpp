// Bytes of Velmorand.ini: read into the settings, written, and read again
// to the same lines.
#include "shell/settingsfile.h"
#include "storage/linefile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines = LineFile::split(QByteArrayView(data, qsizetype(size)));
    TSettings settings;
    if (!ReadSettingsLines(lines, settings))
        return 0;
    const QStringList written = SettingsLines(settings);
    TSettings again;
    if (written.size() != 9 || !ReadSettingsLines(written, again) ||
        SettingsLines(again) != written)
        __builtin_trap();
    return 0;
}
