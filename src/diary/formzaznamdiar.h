#pragma once

#include "records/recordeditor.h"

#include <QDateTime>

class QCheckBox;
class QDateEdit;
class QTimeEdit;
class Tformdiar;

// The diary entry editor: a subject, a text, the entry's day, the time of
// its reminder and the tick that arms the reminder.
class Tformzaznamdiar : public TRecordEditor {
    Q_OBJECT
public:
    // Change and read mode read the entry `id` of the diary's current group.
    Tformzaznamdiar(Tformdiar& window, Mode mode, qint64 id);

protected:
    void fill(const TSQLiteTable& entry) override;
    bool Uloz() override;
    void afterSave() override;
    bool isModified() const override;

private:
    // The day of the day picker at the time of the time picker.
    QDateTime moment() const;

    QDateEdit* datetimepicker;
    QTimeEdit* DateTimePicker1;
    QCheckBox* alarm;
    // The moment and the tick as the editor opened.
    QDateTime m_openedMoment;
    bool m_openedAlarm = true;
};
