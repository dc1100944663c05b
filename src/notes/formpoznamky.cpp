#include "formpoznamky.h"

#include "context/programcontext.h"
#include "context/windowhost.h"
#include "formzaznampoznamky.h"
#include "platform/dialogs.h"
#include "records/readingpane.h"
#include "storage/sqlite.h"

#include <QMenu>
#include <QScopedValueRollback>

using namespace Qt::Literals::StringLiterals;

constexpr TRecordKind kNotesKind{u"poznamky",
                                 Qt::Key_F1,
                                 &MakeRecordWindow<TFormpoznamky>,
                                 &ModuleOf<&DataModules::poznamky>,
                                 Str::MyNotes,
                                 Str::DeletingNotes,
                                 Str::DroppingNotesTables,
                                 Str::NotesMenu,
                                 u"predmet",
                                 u"obsah",
                                 u"datumzmeny"};

TFormpoznamky::TFormpoznamky(TProgramContext& context)
    : TGroupedWindow(context, kNotesKind, context.modules.poznamky,
                     {.exportTitle = Str::ExportNotes, .readingPane = true}) {
    QMenu* usporiadat = addTopMenu("usporiadat", Str::SortBy);
    const auto item = [&](const char* name, Str text, void (TFormpoznamky::*run)()) {
        QAction* action = command(name, text, QKeySequence(), [this, run] { (this->*run)(); });
        action->setCheckable(true);
        usporiadat->addAction(action);
        return action;
    };
    podlaid = item("podlaid", Str::ByAddition, &TFormpoznamky::podlaidClick);
    podlamena = item("podlamena", Str::BySubject, &TFormpoznamky::podlamenaClick);
    opacne = item("opacne", Str::Reversed, &TFormpoznamky::opacneClick);
}

QString TFormpoznamky::listQuery() const {
    // Only what the list shows: the bodies stay in the file.
    return u"SELECT id, predmet FROM "_s + viewQueryTail();
}

void TFormpoznamky::itemCaption(const TSQLiteRow& row, QString& caption) const {
    row.AppendCellText(1, caption);
}

QString TFormpoznamky::exportQuery() const {
    return u"SELECT datum, predmet, obsah FROM "_s + viewQueryTail();
}

void TFormpoznamky::exportRecord(const TSQLiteRow& row, QByteArray& out) const {
    for (int column = 0; column < 3; ++column)
        exportLine(out, row.CellBytes(column));
    exportLine(out, QByteArrayView(""));
}

QStringList TFormpoznamky::viewLines() const {
    const TModuleState& m = module();
    return {m.table, m.caption, m.filter, m.order, m.direction};
}

void TFormpoznamky::readViewLines(const QStringList& lines) {
    TGroupedWindow::readViewLines(lines);
    // A damaged line takes its default, so the list can always be shown.
    TModuleState& m = module();
    m.filter = KnownFragment(lines.value(2), {QString(), u"where viditelnost=1"_s},
                             u"where viditelnost=1"_s);
    m.order = KnownFragment(lines.value(3), {QString(), u"ORDER BY id"_s, u"ORDER BY predmet"_s},
                            u"ORDER BY id"_s);
    m.direction = KnownFragment(lines.value(4), {QString(), u" DESC"_s}, QString());
}

void TFormpoznamky::beforeActivate() {
    // The welcome message, until the settings file exists.
    if (TSettings::FileIsThere() || m_welcoming)
        return;
    const TLanguageTable& s = m_context.strings;
    QStringList lines;
    for (int i = 0; i < 6; ++i)
        lines.append(s[StrAfter(Str::WelcomeF1, i)]);
    {
        const QScopedValueRollback welcoming(m_welcoming, true);
        m_context.dialogs.messageBox(nullptr, s[Str::Welcome], lines.join(u'\n'),
                                     IDialogs::Icon::Information);
    }
    m_context.host->Ulozini();
}

QString TFormpoznamky::savedAndChanged(const QString& saved, const QString& changed) const {
    const TLanguageTable& s = m_context.strings;
    const auto moment = [this](const QString& stored) {
        return m_context.patterns.dateTime(ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, stored));
    };
    return s[Str::Saved] + u' ' + moment(saved) + u", "_s + s[Str::Changed] + u' ' +
           moment(changed);
}

QString TFormpoznamky::paneColumns() const {
    return u"predmet, datum, datumzmeny, obsah"_s;
}

void TFormpoznamky::showInPane(const TSQLiteTable& note, TReadingPane& pane) {
    pane.heading(note.CellTextOrEmpty(0));
    pane.line(savedAndChanged(note.CellTextOrEmpty(1), note.CellTextOrEmpty(2)));
    pane.body(note.CellTextOrEmpty(3));
}

void TFormpoznamky::openEditor(EditorMode mode, qint64 id) {
    showEditor(new Tformzaznampoznamky(*this, mode, id));
}

void TFormpoznamky::podlaidClick() {
    module().order = u"ORDER BY id"_s;
    podlaid->setChecked(true);
    podlamena->setChecked(false);
    Aktualizuj();
}

void TFormpoznamky::podlamenaClick() {
    module().order = u"ORDER BY predmet"_s;
    podlamena->setChecked(true);
    podlaid->setChecked(false);
    Aktualizuj();
}

void TFormpoznamky::opacneClick() {
    // The action has toggled its mark already.
    module().direction = opacne->isChecked() ? u" DESC"_s : QString();
    Aktualizuj();
}
