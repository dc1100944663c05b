#pragma once

#include "records/recordwindow.h"

// The notes window.
class TFormpoznamky : public TRecordWindow {
    Q_OBJECT
public:
    explicit TFormpoznamky(TProgramContext& context);
};
