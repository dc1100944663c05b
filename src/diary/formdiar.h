#pragma once

#include "records/recordwindow.h"

// The diary window.
class Tformdiar : public TRecordWindow {
    Q_OBJECT
public:
    explicit Tformdiar(TProgramContext& context);
};
