#include "formdiar.h"

#include "diaryimport.h"

#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "exchange/icalendar.h"
#include "exchange/textfile.h"
#include "formzaznamdiar.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "records/readingpane.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"
#include <QFile>

#include <QCalendarWidget>
#include <QDateEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QTextCharFormat>
#include <QTreeView>

using namespace Qt::Literals::StringLiterals;

constexpr TRecordKind kDiaryKind{u"diar",
                                 Qt::Key_F2,
                                 &MakeRecordWindow<Tformdiar>,
                                 &ModuleOf<&DataModules::diar>,
                                 Str::MyDiary,
                                 Str::DeletingDiary,
                                 Str::DroppingDiaryTables,
                                 Str::DiaryMenu,
                                 u"predmet",
                                 u"obsah",
                                 u"avizo"};

namespace {

const QString kMoment = QStringLiteral("yyyy-mm-dd hh:nn:ss");

// The time of day as the list shows it, the long time pattern without a
// leading 0: 9:05, 14:30.
QString timeText(const DisplayPatterns& patterns, const QDateTime& moment) {
    if (patterns.longTime == u"HH:MM") { // as it always is here: said straight away
        const QTime time = moment.time();
        return QString::number(time.hour()) + u':' +
               QString::number(time.minute()).rightJustified(2, u'0');
    }
    QString text = patterns.time(moment);
    if (text.startsWith(u'0'))
        text.remove(0, 1);
    return text;
}

} // namespace

Tformdiar::Tformdiar(TProgramContext& context)
    : TGroupedWindow(context, kDiaryKind, context.modules.diar,
                     {.exportTitle = Str::ExportDiary, .readingPane = true}) {
    datetimepicker = MakeDayPicker("datetimepicker", m_context.clock.now().date());
    ConnectGuarded(m_context.dialogs, datetimepicker, &QDateEdit::dateChanged, this,
                   [this] { datetimepickerChange(); });
    addControlAbove(datetimepicker);
    QCalendarWidget* calendar = datetimepicker->calendarWidget();
    ConnectGuarded(m_context.dialogs, calendar, &QCalendarWidget::currentPageChanged, this,
                   [this](int year, int month) { markDays(year, month); });

    // The day's and the whole group's lists first, then the reading pane.
    QMenu* zobrazit = viewMenu();
    QAction* pane = zobrazit->actions().value(0);
    zobrazit->insertAction(
        pane, command("dnes", Str::Today, QKeySequence(u"Ctrl+D"_s), [this] { dnesClick(); }));
    zobrazit->insertAction(pane, command("vsetky", Str::AllRecords, QKeySequence(u"Ctrl+B"_s),
                                         [this] { vsetkyClick(); }));
    zobrazit->insertSeparator(pane);
    addBesideExport(command("exportical", Str::ExportICalendar, QKeySequence(),
                            [this] { exportICalendarClick(); }));
    addBesideExport(command("importical", Str::ImportICalendar, QKeySequence(),
                            [this] { importICalendarClick(); }));
}

void Tformdiar::exportICalendarClick() {
    const QString table = module().table;
    const QDateTime stamp = m_context.clock.now();
    exportAs(
        Str::ExportICalendar, m_context.strings[Str::ICalendarFiles], u"ics"_s,
        u"SELECT id, avizo, alarm, predmet, obsah FROM "_s + SqlName(table) +
            u" WHERE viditelnost=1 ORDER BY avizo"_s,
        ICalendarStart(),
        [table, stamp](const TSQLiteRow& row, QByteArray& out) {
            TDiaryEvent event;
            event.start = QDateTime::fromString(row.CellTextOrEmpty(1), u"yyyy-MM-dd HH:mm:ss"_s);
            if (!event.start.isValid())
                return; // a moment another tool damaged
            event.alarm = row.CellInt64(2) == 1;
            event.subject = row.CellTextOrEmpty(3);
            event.text = row.CellTextOrEmpty(4);
            // The same entry has the same UID in every export.
            out +=
                ICalendarEvent(event, u"%1-%2@velmorand"_s.arg(table).arg(row.CellInt64(0)), stamp);
        },
        ICalendarEnd());
}

void Tformdiar::importICalendarClick() {
    const QString file = importFile(Str::ImportICalendar, m_context.strings[Str::ICalendarFiles]);
    if (!file.isEmpty())
        startImport(new TDiaryImport(*this, file));
}

QDate Tformdiar::day() const {
    return datetimepicker->date();
}

void Tformdiar::setDay(QDate day) {
    const QSignalBlocker quiet(datetimepicker); // not the user's choice
    datetimepicker->setDate(day);
}

void Tformdiar::beforeActivate() {
    // Every return to the diary shows today, or the whole group.
    setDay(m_context.clock.now().date());
    m_listing = m_view;
    zoznam->setFocus();
}

void Tformdiar::refresh() {
    if (m_view == View::All)
        Aktualizujvsetko();
    else
        Aktualizujden();
}

void Tformdiar::Aktualizujden() {
    // The stored day form; it also puts the display patterns back.
    SqlDateTimeText(Moment(day()), m_context.patterns);
    m_listing = View::Day;
    Aktualizuj();
}

void Tformdiar::Aktualizujvsetko() {
    m_context.patterns.shortDate = u"DDDD D MMMM YYYY"_s;
    m_dayOf = {};
    m_listing = View::All;
    Aktualizuj();
    setDay(m_context.clock.now().date());
}

void Tformdiar::dnesClick() {
    m_view = View::Day;
    Aktualizujden();
}

void Tformdiar::vsetkyClick() {
    m_view = View::All;
    Aktualizujvsetko();
}

void Tformdiar::datetimepickerChange() {
    Aktualizujden();
}

QString Tformdiar::listQuery() const {
    const QString table = SqlName(module().table);
    if (m_listing == View::All)
        return u"SELECT id, datum, avizo, predmet FROM "_s + table +
               u" WHERE viditelnost=1 ORDER BY avizo"_s;
    return u"SELECT id, datum, avizo, predmet FROM "_s + table +
           u" WHERE (viditelnost=1) AND (datum="_s + SqlText(day().toString(u"yyyy-MM-dd"_s)) +
           u") ORDER BY avizo"_s;
}

void Tformdiar::itemCaption(const TSQLiteRow& row, QString& caption) const {
    if (m_listing == View::All) {
        // The list goes by time, so days come in runs: each is written once.
        const QString datum = row.CellTextOrEmpty(1);
        if (datum != m_dayOf.first || m_dayOf.second.isNull())
            m_dayOf = {datum,
                       m_context.patterns.date(ParseDateTimeByFormat(u"yyyy-mm-dd"_s, datum))};
        caption += m_dayOf.second;
        caption += u' ';
    }
    caption += timeText(m_context.patterns, ParseDateTimeByFormat(kMoment, row.CellTextOrEmpty(2)));
    caption += u": "_s;
    row.AppendCellText(3, caption);
}

QString Tformdiar::recordsPart(int listed, qint64 visible) const {
    if (visible == 0)
        return u"0"_s;
    return QString::number(listed) + u'/' + QString::number(visible);
}

QStringList Tformdiar::listState() const {
    return {QString::number(int(m_listing)), day().toString(Qt::ISODate)};
}

void Tformdiar::markDays(int year, int month) {
    QCalendarWidget* calendar = datetimepicker->calendarWidget();
    calendar->setDateTextFormat(QDate(), QTextCharFormat()); // none marked
    const QDate first(year, month, 1);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    TSQLiteDatabase db(module().file);
    db.QueryEach(
        u"SELECT DISTINCT datum FROM "_s + SqlName(module().table) +
            u" WHERE datum BETWEEN ?1 AND ?2 AND viditelnost=1"_s,
        {first.toString(Qt::ISODate), first.addMonths(1).addDays(-1).toString(Qt::ISODate)},
        [&](const TSQLiteRow& row) {
            if (int y, m, d; StoredDayParts(row.CellBytes(0), y, m, d))
                calendar->setDateTextFormat(QDate(y, m, d), bold);
        });
}

void Tformdiar::afterRefresh() {
    // The calendar marks what the group holds now.
    const QCalendarWidget* calendar = datetimepicker->calendarWidget();
    markDays(calendar->yearShown(), calendar->monthShown());
    // A day's list looks for the pending reminder again.
    if (m_listing == View::Day)
        m_context.reminders->Najdizaznam();
}

QString Tformdiar::exportQuery() const {
    // Entries of one day in the order they were written.
    return u"SELECT datum, predmet, obsah FROM "_s + SqlName(module().table) +
           u"  WHERE viditelnost=1 ORDER BY datum, id"_s;
}

void Tformdiar::exportRecord(const TSQLiteRow& row, QByteArray& out) const {
    exportLine(out, FormatDateTime(u"DD MMMM YYYY"_s,
                                   ParseDateTimeByFormat(u"yyyy-mm-dd"_s, row.CellTextOrEmpty(0))));
    exportLine(out, row.CellBytes(1));
    exportLine(out, row.CellBytes(2));
    exportLine(out, QByteArrayView(""));
}

QString Tformdiar::paneColumns() const {
    return u"predmet, avizo, alarm, obsah"_s;
}

void Tformdiar::showInPane(const TSQLiteTable& entry, TReadingPane& pane) {
    pane.heading(entry.CellTextOrEmpty(0));
    pane.line(
        m_context.patterns.dateTime(ParseDateTimeByFormat(kMoment, entry.CellTextOrEmpty(1))));
    // The reminder's state as the editor's check box shows it.
    pane.line((entry.CellInt64(2) != 0 ? u"\u2611 "_s : u"\u2610 "_s) +
              m_context.strings[Str::Remind]);
    pane.body(entry.CellTextOrEmpty(3));
}

void Tformdiar::openEditor(EditorMode mode, qint64 id) {
    // A new entry's editor puts the display patterns back to "DD MMMM YYYY"
    // and "HH:MM", as the stored form's making leaves them (the all view
    // had made the date a long one).
    if (mode == EditorMode::Insert)
        SqlDateTimeText(m_context.clock.now(), m_context.patterns);
    showEditor(new Tformzaznamdiar(*this, mode, id));
}
