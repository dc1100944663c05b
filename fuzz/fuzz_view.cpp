// Bytes of the address book's view file, the largest of the view files:
// read into the window's state, written, and read again to the same lines.
#include "addressbook/addressbookview.h"
#include "storage/linefile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines = LineFile::split(QByteArrayView(data, qsizetype(size)));
    DataModules modules;
    ReadAddressBookView(lines, modules.adresar, modules.adresarOptions);
    const QStringList written = AddressBookViewLines(modules.adresar, modules.adresarOptions);
    DataModules again;
    ReadAddressBookView(written, again.adresar, again.adresarOptions);
    if (written.size() != 36 ||
        AddressBookViewLines(again.adresar, again.adresarOptions) != written)
        __builtin_trap();
    return 0;
}
