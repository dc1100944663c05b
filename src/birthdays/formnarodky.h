#pragma once

#include "records/recordkind.h"
#include "records/recordwindow.h"

extern const TRecordKind kBirthdaysKind;

// The birthdays window.
class Tformnarodky : public TRecordWindow {
    Q_OBJECT
public:
    explicit Tformnarodky(TProgramContext& context);
};
