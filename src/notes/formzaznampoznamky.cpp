#include "formzaznampoznamky.h"

#include "context/programcontext.h"
#include "formpoznamky.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "storage/sqlite.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

namespace {

const TFormField kNoteFields[] = {{"predmet", Str::Subject},
                                  {"obsah", Str::Content, TFormField::Text}};

} // namespace

Tformzaznampoznamky::Tformzaznampoznamky(TFormpoznamky& window, Mode mode, qint64 id)
    : TRecordEditor(window, mode, id, u"formzaznampoznamky"_s, kNoteFields), m_notes(window) {
    open();
    if (mode == Mode::View)
        form().edit(u"obsah"_s)->setFocus();
}

void Tformzaznampoznamky::fill(const TSQLiteTable& note) {
    const QString subject = note.CellTextOrEmpty(note.ColumnIndex(u"predmet"_s));
    setRecordTitle(subject);
    form().setText(u"obsah"_s, note.CellTextOrEmpty(note.ColumnIndex(u"obsah"_s)));
    if (mode() == Mode::Update) {
        form().setText(u"predmet"_s, subject);
        return;
    }
    // Read: the subject's field tells when the note was saved and changed.
    form().label(u"predmet"_s)->hide();
    form().setText(u"predmet"_s, m_notes.savedAndChanged(
                                     note.CellTextOrEmpty(note.ColumnIndex(u"datum"_s)),
                                     note.CellTextOrEmpty(note.ColumnIndex(u"datumzmeny"_s))));
}

bool Tformzaznampoznamky::Uloz() {
    const QString now = SqlDateTimeText(m_context.clock.now(), m_context.patterns);
    const QString subject = form().text(u"predmet"_s);
    if (subject.isEmpty()) {
        m_context.dialogs.messageBox(nullptr, m_context.strings[Str::Warning],
                                     m_context.strings[Str::NoSubject],
                                     IDialogs::Icon::Information);
        return false;
    }
    const QString body = form().text(u"obsah"_s);
    TSQLiteDatabase db(m_window.module().file);
    if (inserting()) {
        storeNew(db, {{u"predmet"_s, subject},
                      {u"obsah"_s, body},
                      {u"datum"_s, now},
                      {u"datumzmeny"_s, now},
                      {u"viditelnost"_s, 1}});
        return true;
    }
    return storeChange(db, {{u"predmet"_s, subject},
                            {u"obsah"_s, body},
                            {u"datumzmeny"_s, now},
                            {u"viditelnost"_s, 1}});
}
