#pragma once

#include "records/recordeditor.h"

#include <QDate>

class QDateEdit;
class Tformdennik;

// The journal entry editor: the text of one day. The day is chosen only
// for a new entry; a change never moves an entry to another day.
class Tformzaznamdennik : public TRecordEditor {
    Q_OBJECT
public:
    // Change and read mode read the entry `id` of the journal's current group.
    Tformzaznamdennik(Tformdennik& window, Mode mode, qint64 id);

protected:
    void fill(const TSQLiteTable& entry) override;
    bool Uloz() override;
    bool isModified() const override;

private:
    Tformdennik& m_journal;
    QDateEdit* datetimepicker;
    QDate m_openedDay;
};
