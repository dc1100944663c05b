#pragma once

#include "records/recordkind.h"
#include "records/recordwindow.h"

extern const TRecordKind kJournalKind;

// The journal window.
class Tformdennik : public TRecordWindow {
    Q_OBJECT
public:
    explicit Tformdennik(TProgramContext& context);
};
