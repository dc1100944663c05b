#include "formadresar.h"

constexpr TRecordKind kAddressBookKind{u"adresar", Qt::Key_F3, &MakeRecordWindow<TFormadresar>};

TFormadresar::TFormadresar(TProgramContext& context)
    : TRecordWindow(context, kAddressBookKind, Str::AddressBookMenu) {}
