#pragma once

#include "records/recordwindow.h"

// The birthdays window.
class Tformnarodky : public TRecordWindow {
    Q_OBJECT
public:
    explicit Tformnarodky(TProgramContext& context);
};
