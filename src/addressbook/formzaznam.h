#pragma once

#include "records/recordeditor.h"

class TFormadresar;

// The contact editor: the 24 fields in two columns. Where the options say
// so, only the chosen fields are shown; the others keep their places and,
// in a change, their stored values.
class Tformzaznam : public TRecordEditor {
    Q_OBJECT
public:
    Tformzaznam(TFormadresar& window, Mode mode, qint64 id);

protected:
    void fill(const TSQLiteTable& contact) override;
    bool Uloz() override;
};
