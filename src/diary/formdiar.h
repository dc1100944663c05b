#pragma once

#include "records/recordkind.h"
#include "records/recordwindow.h"

extern const TRecordKind kDiaryKind;

// The diary window.
class Tformdiar : public TRecordWindow {
    Q_OBJECT
public:
    explicit Tformdiar(TProgramContext& context);
};
