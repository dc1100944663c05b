#pragma once

#include "records/recordeditor.h"

class TFormpoznamky;

// The note editor: a new note, a change of one note, or a note to read.
class Tformzaznampoznamky : public TRecordEditor {
    Q_OBJECT
public:
    // Change and read mode read the note `id` of the notes window's current group.
    Tformzaznampoznamky(TFormpoznamky& window, Mode mode, qint64 id);

protected:
    void fill(const TSQLiteTable& note) override;
    bool Uloz() override;

private:
    TFormpoznamky& m_notes;
};
