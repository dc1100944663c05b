#include "formdennik.h"

#include "context/programcontext.h"
#include "formzaznamdennik.h"
#include "records/readingpane.h"
#include "storage/sqlite.h"

using namespace Qt::Literals::StringLiterals;

constexpr TRecordKind kJournalKind{u"dennik",
                                   Qt::Key_F4,
                                   &MakeRecordWindow<Tformdennik>,
                                   &ModuleOf<&DataModules::dennik>,
                                   Str::MyJournal,
                                   Str::DeletingJournal,
                                   Str::DroppingJournalTables,
                                   Str::JournalMenu,
                                   u"datum",
                                   u"obsah",
                                   u"datum"};

namespace {

const QString kLongDay = u"DDDD D MMMM YYYY"_s;

// A stored day that is no date is shown as it is, marked.
QString marked(const QString& datum) {
    return u"\u26A0 "_s + datum;
}

bool isDay(const QString& datum, QDateTime& day) {
    day = ParseDateTimeByFormat(u"yyyy-mm-dd"_s, datum);
    return day != ZeroMoment() || datum.startsWith(u"1899-12-30"_s);
}

} // namespace

Tformdennik::Tformdennik(TProgramContext& context)
    : TGroupedWindow(context, kJournalKind, context.modules.dennik,
                     {.exportTitle = Str::ExportJournal, .readingPane = true}) {}

QString Tformdennik::dayIn(const QString& pattern, const QString& datum, bool mark) const {
    QDateTime day;
    if (!isDay(datum, day))
        return mark ? marked(datum) : datum;
    // The journal sets the program's short date pattern as it writes its days.
    m_context.patterns.shortDate = pattern;
    return m_names.format(pattern, day);
}

QString Tformdennik::dayCaption(const QString& datum) const {
    return dayIn(kLongDay, datum, true);
}

QString Tformdennik::dayText(const QString& datum) const {
    return dayIn(u"DD MMMM YYYY"_s, datum, false);
}

QString Tformdennik::listQuery() const {
    return u"SELECT id, datum FROM "_s + SqlName(module().table) +
           u" WHERE viditelnost=1 ORDER BY datum, id"_s;
}

void Tformdennik::itemCaption(const TSQLiteRow& row, QString& caption) const {
    // The stored day read straight from its bytes, as it nearly always is.
    if (int year, month, day; StoredDayParts(row.CellBytes(1), year, month, day)) {
        // The journal sets the program's short date pattern as it writes its days.
        if (m_context.patterns.shortDate != kLongDay)
            m_context.patterns.shortDate = kLongDay;
        m_names.appendLongDay(year, month, day, caption);
    } else {
        caption += dayCaption(row.CellTextOrEmpty(1));
    }
}

QString Tformdennik::exportQuery() const {
    return u"SELECT datum, obsah FROM "_s + SqlName(module().table) +
           u"  WHERE viditelnost=1 ORDER BY datum, id"_s;
}

void Tformdennik::exportRecord(const TSQLiteRow& row, QByteArray& out) const {
    exportLine(out, dayText(row.CellTextOrEmpty(0)));
    exportLine(out, row.CellBytes(1));
    exportLine(out, QByteArrayView(""));
}

QString Tformdennik::paneColumns() const {
    return u"datum, obsah"_s;
}

void Tformdennik::showInPane(const TSQLiteTable& entry, TReadingPane& pane) {
    pane.heading(dayCaption(entry.CellTextOrEmpty(0)));
    pane.body(entry.CellTextOrEmpty(1));
}

void Tformdennik::openEditor(EditorMode mode, qint64 id) {
    showEditor(new Tformzaznamdennik(*this, mode, id));
}
