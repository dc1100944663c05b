#include "formzaznamdiar.h"

#include "context/captions.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "formdiar.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "storage/sqlite.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QTimeEdit>

using namespace Qt::Literals::StringLiterals;

namespace {

const TFormField kEntryFields[] = {{"predmet", Str::Subject},
                                   {"obsah", Str::Content, TFormField::Text}};

} // namespace

Tformzaznamdiar::Tformzaznamdiar(Tformdiar& window, Mode mode, qint64 id)
    : TRecordEditor(window, mode, id, u"formzaznamdiar"_s, kEntryFields) {
    datetimepicker = MakeDayPicker("datetimepicker", QDate());
    DateTimePicker1 = new QTimeEdit;
    DateTimePicker1->setObjectName(u"DateTimePicker1"_s);
    DateTimePicker1->setDisplayFormat(u"HH:mm:ss"_s);
    alarm = new QCheckBox;
    alarm->setObjectName(u"alarm"_s);
    Caption(alarm, m_context.strings, Str::Remind);
    alarm->setChecked(true);
    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(datetimepicker);
    rowLayout->addWidget(DateTimePicker1);
    rowLayout->addWidget(alarm);
    rowLayout->addStretch();
    addControl(row);
    setTabOrder(form().edit(u"obsah"_s), datetimepicker);
    setTabOrder(datetimepicker, DateTimePicker1);
    setTabOrder(DateTimePicker1, alarm);

    if (mode == Mode::Insert) {
        // A new reminder starts at the next whole hour, which the user sees
        // before saving: never at a moment that is past by the time of the save.
        const QDateTime now = m_context.clock.now();
        const QDateTime next = QDateTime(now.date(), QTime(now.time().hour(), 0)).addSecs(3600);
        datetimepicker->setDate(next.date());
        DateTimePicker1->setTime(next.time());
    }
    // Digits typed into the time field go to the hour first, as into the
    // day's field, without a section chosen first.
    DateTimePicker1->setCurrentSection(QDateTimeEdit::HourSection);
    open();
    m_openedMoment = moment();
    m_openedAlarm = alarm->isChecked();
    if (mode == Mode::View) {
        for (QAbstractSpinBox* picker : {static_cast<QAbstractSpinBox*>(datetimepicker),
                                         static_cast<QAbstractSpinBox*>(DateTimePicker1)})
            picker->setReadOnly(true);
        alarm->setEnabled(false);
        form().edit(u"obsah"_s)->setFocus();
    }
}

void Tformzaznamdiar::fill(const TSQLiteTable& entry) {
    const QString subject = entry.CellTextOrEmpty(entry.ColumnIndex(u"predmet"_s));
    setRecordTitle(subject);
    form().setText(u"predmet"_s, subject);
    form().setText(u"obsah"_s, entry.CellTextOrEmpty(entry.ColumnIndex(u"obsah"_s)));
    // A damaged moment shows as the zero moment, for the user to set.
    const QDateTime avizo = ParseDateTimeByFormat(
        u"yyyy-mm-dd hh:nn:ss"_s, entry.CellTextOrEmpty(entry.ColumnIndex(u"avizo"_s)));
    datetimepicker->setDate(avizo.date());
    DateTimePicker1->setTime(avizo.time());
    alarm->setChecked(entry.CellInt64(entry.ColumnIndex(u"alarm"_s)) != 0);
}

QDateTime Tformzaznamdiar::moment() const {
    return Moment(datetimepicker->date(), DateTimePicker1->time());
}

bool Tformzaznamdiar::isModified() const {
    return TRecordEditor::isModified() || moment() != m_openedMoment ||
           alarm->isChecked() != m_openedAlarm;
}

bool Tformzaznamdiar::Uloz() {
    const TLanguageTable& s = m_context.strings;
    const QDateTime now = m_context.clock.now();
    const QDateTime reminder = moment();
    // The date check comes before the subject check.
    if (reminder < now && alarm->isChecked()) {
        m_context.dialogs.messageBox(this, s[Str::Error], s[Str::ReminderInThePast],
                                     IDialogs::Icon::Critical);
        return false;
    }
    const QString avizo = SqlDateTimeText(reminder, m_context.patterns);
    const QString datum = avizo.left(10);
    const qint64 armed = alarm->isChecked() ? 1 : 0;
    const QString subject = form().text(u"predmet"_s);
    if (subject.isEmpty()) {
        m_context.dialogs.messageBox(nullptr, s[Str::Warning], s[Str::NoSubject],
                                     IDialogs::Icon::Information);
        return false;
    }
    const QString text = form().text(u"obsah"_s);
    TSQLiteDatabase db(m_window.module().file);
    const Fields fields{{u"datum"_s, datum},
                        {u"avizo"_s, avizo},
                        {u"alarm"_s, armed},
                        {u"predmet"_s, subject},
                        {u"obsah"_s, text}};
    if (inserting()) {
        storeNew(db, fields + Fields{{u"viditelnost"_s, 1}});
        return true;
    }
    return storeChange(db, fields);
}

void Tformzaznamdiar::afterSave() {
    // A new or changed reminder is armed at once.
    m_context.reminders->Najdizaznam();
}
