#pragma once

#include "records/recordwindow.h"

// The journal window.
class Tformdennik : public TRecordWindow {
    Q_OBJECT
public:
    explicit Tformdennik(TProgramContext& context);
};
