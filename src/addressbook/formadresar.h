#pragma once

#include "records/recordkind.h"
#include "records/recordwindow.h"

extern const TRecordKind kAddressBookKind;

// The address book window.
class TFormadresar : public TRecordWindow {
    Q_OBJECT
public:
    explicit TFormadresar(TProgramContext& context);
};
