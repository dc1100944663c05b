#pragma once

#include "records/recordwindow.h"

// The address book window.
class TFormadresar : public TRecordWindow {
    Q_OBJECT
public:
    explicit TFormadresar(TProgramContext& context);
};
