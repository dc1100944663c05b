#include "formzaznamdennik.h"

#include "context/captions.h"
#include "context/programcontext.h"
#include "formdennik.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "storage/sqlite.h"

#include <QDateEdit>
#include <QHBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const TFormField kEntryFields[] = {{"obsah", Str::Content, TFormField::Text}};

} // namespace

Tformzaznamdennik::Tformzaznamdennik(Tformdennik& window, Mode mode, qint64 id)
    : TRecordEditor(window, mode, id, u"formzaznamdennik"_s, kEntryFields), m_journal(window) {
    datetimepicker = MakeDayPicker("datetimepicker", m_context.clock.now().date());
    // As wide as its date, as in the diary's editor; chosen for a new entry only.
    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(datetimepicker);
    rowLayout->addStretch();
    addControl(row);
    row->setVisible(mode == Mode::Insert);
    open();
    m_openedDay = datetimepicker->date();
}

void Tformzaznamdennik::fill(const TSQLiteTable& entry) {
    const QString datum = entry.CellTextOrEmpty(entry.ColumnIndex(u"datum"_s));
    setRecordTitle(mode() == Mode::Update ? m_journal.dayCaption(datum) : m_journal.dayText(datum));
    form().setText(u"obsah"_s, entry.CellTextOrEmpty(entry.ColumnIndex(u"obsah"_s)));
}

bool Tformzaznamdennik::isModified() const {
    return TRecordEditor::isModified() || datetimepicker->date() != m_openedDay;
}

bool Tformzaznamdennik::Uloz() {
    const TLanguageTable& s = m_context.strings;
    const QString day =
        SqlDateTimeText(Moment(datetimepicker->date()), m_context.patterns).left(10);
    const QString text = form().text(u"obsah"_s);
    if (text.isEmpty()) {
        m_context.dialogs.messageBox(nullptr, s[Str::Warning], s[Str::NoContent],
                                     IDialogs::Icon::Information);
        return false;
    }
    TSQLiteDatabase db(m_window.module().file);
    if (!inserting()) {
        // A change never moves the entry to another day.
        return storeChange(db, {{u"obsah"_s, text}});
    }
    // One visible entry per day in a group: the look and the insert are one
    // transaction, so two saves cannot both pass the look.
    const QString table = targetTable();
    bool taken;
    {
        TSQLiteTransaction transaction(db);
        taken = db.Query(u"SELECT id FROM "_s + SqlName(table) +
                             u" where (viditelnost=1) AND (datum=?1) LIMIT 1"_s,
                         {day})
                    .Rows() > 0;
        if (!taken) {
            storeNew(db, {{u"datum"_s, day}, {u"obsah"_s, text}, {u"viditelnost"_s, 1}});
            transaction.Commit();
        }
    }
    if (taken)
        m_context.dialogs.messageBox(nullptr, s[Str::EntryExists],
                                     s[Str::OneEntryPerDay] + u"\n"_s + s[Str::FindTheEntry],
                                     IDialogs::Icon::Information);
    return !taken;
}
