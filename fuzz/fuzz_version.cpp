// Bytes of the update server's version file: only a version, an https
// address and a name that stays in its folder are ever usable.
#include "shell/updatecheck.h"

#include <QUrl>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TVersionFile file =
        TVersionFile::Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (file.verdict == TVersionFile::Verdict::Usable &&
        (!TVersionFile::IsSafeFileName(file.fileName) || file.fileName.contains(u'/') ||
         QUrl(file.url).scheme() != u"https"))
        __builtin_trap();
    return 0;
}
