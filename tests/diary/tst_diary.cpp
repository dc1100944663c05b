// The diary window and its entry editor: the day and all views, the date
// picker, the reminder the editor arms, and what lands in the file.
#include "context/menukeys.h"
#include "diary/formdiar.h"
#include "diary/formzaznamdiar.h"
#include "records/importrun.h"
#include "shell/reminders.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeView>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"data/Reminders.dbf"_s;

QDateTime at(const QString& text) {
    return ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, text);
}

// A started program at 10:00 on 8 December 2026 with the diary active.
struct Diary : TestProgram {
    Diary() {
        t.clock.current = at(u"2026-12-08 10:00:00"_s);
        TSettings settings;
        settings.lastWindow = u"diar"_s;
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        if (!start() || !WaitForFocus(window()))
            qFatal("the diary is not active");
    }
    Tformdiar* window() const { return static_cast<Tformdiar*>(record(u"diar"_s)); }
    void command(const char* name) const {
        window()->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    QTreeView* list() const { return window()->findChild<QTreeView*>(u"zoznam"_s); }
    QDateEdit* picker() const { return window()->findChild<QDateEdit*>(u"datetimepicker"_s); }
    QStringList captions() const { return ListCaptions(window()); }
    QString status() const { return window()->statusText(); }
    TReminders& reminders() { return windows.reminders(); }
    void backToWindow() { BackTo(window()); }
    // An entry straight into the current group.
    void add(const QString& subject, const QString& avizo, int alarm = 0, int visible = 1) {
        TSQLiteDatabase db(kFile);
        db.Execute(u"INSERT INTO mojdiar(datum,avizo,alarm,predmet,obsah,viditelnost) "
                   "VALUES(%1,%2,%3,%4,'',%5)"_s.arg(SqlText(avizo.left(10)), SqlText(avizo))
                       .arg(alarm)
                       .arg(SqlText(subject))
                       .arg(visible));
    }
    Tformzaznamdiar* open(const char* name) {
        command(name);
        Tformzaznamdiar* e = editor();
        if (!e || !WaitForFocus(e))
            qFatal("no active editor after %s", name);
        return e;
    }
    static Tformzaznamdiar* editor() { return OpenWindow<Tformzaznamdiar>(); }
    // Fills a new entry's editor and saves it.
    Tformzaznamdiar* write(const QString& subject, const QDateTime& moment, bool remind,
                           const QString& text = QString()) {
        Tformzaznamdiar* e = open("novymenu");
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(subject);
        e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->setPlainText(text);
        e->findChild<QDateEdit*>(u"datetimepicker"_s)->setDate(moment.date());
        e->findChild<QTimeEdit*>(u"DateTimePicker1"_s)->setTime(moment.time());
        e->findChild<QCheckBox*>(u"alarm"_s)->setChecked(remind);
        e->ulozitClick();
        return e;
    }
};

QList<QStringList> rows(const QString& sql) {
    return DbRows(kFile, sql);
}

} // namespace

class TestDiary : public QObject {
    Q_OBJECT
private slots:
    void dayViewListsTodayByTime() {
        TempHome home;
        Diary d;
        d.add(u"obed"_s, u"2026-12-08 14:30:00"_s);
        d.add(u"Zubár"_s, u"2026-12-08 08:15:00"_s);
        d.add(u"zajtra"_s, u"2026-12-09 09:00:00"_s);
        d.add(u"v koši"_s, u"2026-12-08 09:00:00"_s, 0, 0);
        d.window()->Aktualizujden();
        QCOMPARE(d.captions(), (QStringList{u"8:15: Zubár"_s, u"14:30: obed"_s}));
        // An entry in the bin is neither listed nor counted.
        QCOMPARE(d.status(), u"Počet záznamov: 2/3 Počet skupín: 1"_s);
        QCOMPARE(d.window()->windowTitle(), u"Diár - Môj diár"_s);
    }

    void allViewAndThePicker() {
        TempHome home;
        Diary d;
        d.add(u"obed"_s, u"2026-12-08 12:00:00"_s);
        d.add(u"Zubár"_s, u"2026-12-09 09:05:00"_s);
        d.command("vsetky");
        QCOMPARE(d.captions(), (QStringList{u"utorok 8 december 2026 12:00: obed"_s,
                                            u"streda 9 december 2026 9:05: Zubár"_s}));
        QCOMPARE(d.status(), u"Počet záznamov: 2/2 Počet skupín: 1"_s);
        // The picker moved in the all view lists that day, the view stays all.
        d.picker()->setDate(QDate(2026, 12, 9));
        QCOMPARE(d.captions(), QStringList{u"9:05: Zubár"_s});
        QCOMPARE(d.window()->view(), Tformdiar::View::All);
        d.t.dialogs.answers = {IDialogs::Answer::No};
        d.command("vymazat");
        QCOMPARE(d.captions().size(), 2); // back to the all view
        // Ctrl+D lists the picker's day, not necessarily today.
        d.picker()->setDate(QDate(2026, 12, 9));
        d.command("dnes");
        QCOMPARE(d.captions(), QStringList{u"9:05: Zubár"_s});
        QCOMPARE(d.window()->view(), Tformdiar::View::Day);
        // Every return shows today.
        d.picker()->setDate(QDate(2026, 12, 9));
        d.open("novymenu")->close();
        d.backToWindow();
        QCOMPARE(d.picker()->date(), QDate(2026, 12, 8));
        QCOMPARE(d.captions(), QStringList{u"12:00: obed"_s});
    }

    // The picker's calendar marks in bold the days of the shown month that
    // hold shown entries of the current group, and follows its pages.
    void theMonthAtAGlance() {
        TempHome home;
        Diary d;
        d.add(u"obed"_s, u"2026-12-03 12:00:00"_s);
        d.add(u"Zubár"_s, u"2026-12-17 09:05:00"_s);
        d.add(u"v koši"_s, u"2026-12-05 09:00:00"_s, 0, 0);
        d.add(u"január"_s, u"2027-01-02 08:00:00"_s);
        d.window()->Aktualizujden();
        QCalendarWidget* calendar = d.picker()->calendarWidget();
        const auto bold = [&](int year, int month) {
            QList<int> days;
            for (QDate day(year, month, 1); day.month() == month; day = day.addDays(1))
                if (calendar->dateTextFormat(day).fontWeight() == QFont::Bold)
                    days.append(day.day());
            return days;
        };
        QCOMPARE(bold(2026, 12), (QList<int>{3, 17}));
        calendar->setCurrentPage(2027, 1);
        QCOMPARE(bold(2027, 1), QList<int>{2});
        QCOMPARE(bold(2026, 12), QList<int>{});
        // A new entry is marked with the refresh that lists it.
        d.add(u"neskôr"_s, u"2027-01-20 08:00:00"_s);
        d.window()->Aktualizujden();
        QCOMPARE(bold(2027, 1), (QList<int>{2, 20}));
    }

    void aNewArmedEntryIsArmedAtOnce() {
        TempHome home;
        Diary d;
        d.write(u"Ján \"Jano\" Novák"_s, at(u"2026-12-08 10:05:00"_s), true, u"zavolať"_s);
        QTRY_VERIFY(!Diary::editor());
        QCOMPARE(rows(u"SELECT datum, avizo, alarm, predmet, obsah, viditelnost FROM mojdiar"_s),
                 (QList<QStringList>{{u"2026-12-08"_s, u"2026-12-08 10:05:00"_s, u"1"_s,
                                      u"Ján \"Jano\" Novák"_s, u"zavolať"_s, u"1"_s}}));
        QCOMPARE(d.reminders().pending().subject, u"Ján \"Jano\" Novák"_s);
        QCOMPARE(d.t.tray->tip, u"Pripomienka: 08 december 2026 10:05"_s);
        QCOMPARE(FileBytes(u"data/Reminders.ini"_s), QByteArray("mojdiar\r\nM\xF4j di\xE1r\r\n"));
        d.backToWindow();
        QCOMPARE(d.captions(), QStringList{u"10:05: Ján \"Jano\" Novák"_s});
        // It rings once its moment has passed.
        d.t.clock.current = at(u"2026-12-08 10:05:01"_s);
        d.reminders().TimerTimer();
        QVERIFY(d.reminders().alarmActive());
    }

    // A new entry's reminder starts at the next whole hour, which it shows:
    // saved at once, or with Enter in the time field after typing a time
    // into it, it is accepted and armed for the moment shown.
    void aNewEntrySavedAtOnce_data() {
        QTest::addColumn<QString>("typed"); // into the time field, then Enter
        QTest::addColumn<QString>("avizo");
        QTest::newRow("saved at once") << QString() << u"2026-12-08 11:00:00"_s;
        QTest::newRow("a time typed, then Enter") << u"1430"_s << u"2026-12-08 14:30:00"_s;
    }
    void aNewEntrySavedAtOnce() {
        QFETCH(QString, typed);
        QFETCH(QString, avizo);
        TempHome home;
        Diary d;
        Tformzaznamdiar* e = d.open("novymenu");
        QCOMPARE(e->findChild<QTimeEdit*>(u"DateTimePicker1"_s)->time(), QTime(11, 0));
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(u"obed"_s);
        d.t.clock.advanceSeconds(1);
        if (typed.isEmpty()) {
            QTest::keyClick(e, Qt::Key_S, Qt::ControlModifier);
        } else {
            auto* time = e->findChild<QTimeEdit*>(u"DateTimePicker1"_s);
            time->setFocus();
            QTest::keyClicks(time, typed);
            QTest::keyClick(time, Qt::Key_Return);
        }
        QTRY_VERIFY(!Diary::editor());
        QCOMPARE(d.t.dialogs.boxes.size(), 0);
        QCOMPARE(rows(u"SELECT avizo, alarm FROM mojdiar"_s),
                 (QList<QStringList>{{avizo, u"1"_s}}));
    }

    // A moment set into the past is refused before the subject is checked.
    void aPastMomentIsRefusedFirst() {
        TempHome home;
        Diary d;
        Tformzaznamdiar* e = d.open("novymenu");
        e->findChild<QTimeEdit*>(u"DateTimePicker1"_s)->setTime(QTime(9, 0));
        e->ulozitClick();
        QCOMPARE(d.t.dialogs.boxes.size(), 1);
        QCOMPARE(d.t.dialogs.boxes[0].caption, u"Chyba!"_s);
        QCOMPARE(d.t.dialogs.boxes[0].icon, IDialogs::Icon::Critical);
        QVERIFY(d.t.dialogs.boxes[0].text.startsWith(u"Dátum a čas pripomienky nemôžu byť"_s));
        QCOMPARE(Diary::editor(), e);
        e->findChild<QCheckBox*>(u"alarm"_s)->setChecked(false);
        e->ulozitClick();
        QCOMPARE(d.t.dialogs.boxes.size(), 2);
        QCOMPARE(d.t.dialogs.boxes[1].text,
                 u"Nebol zadaný predmet. Tento údaj je povinný, vyplňte ho!"_s);
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(u"datum"_s);
        e->ulozitClick();
        QTRY_VERIFY(!Diary::editor());
        QCOMPARE(
            rows(u"SELECT datum, avizo, alarm, predmet FROM mojdiar"_s),
            (QList<QStringList>{{u"2026-12-08"_s, u"2026-12-08 09:00:00"_s, u"0"_s, u"datum"_s}}));
    }

    void momentsAreStoredExactly_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("29 February") << at(u"2028-02-29 07:30:15"_s);
        QTest::newRow("the year's last second") << at(u"2026-12-31 23:59:59"_s);
        QTest::newRow("before 1900") << at(u"1899-12-30 06:00:00"_s);
    }
    void momentsAreStoredExactly() {
        QFETCH(QDateTime, moment);
        TempHome home;
        Diary d;
        d.write(u"záznam"_s, moment, false);
        QTRY_VERIFY(!Diary::editor());
        const QString stored = FormatDateTime(u"yyyy-mm-dd hh:nn:ss"_s, moment);
        QCOMPARE(rows(u"SELECT datum, avizo FROM mojdiar"_s),
                 (QList<QStringList>{{stored.left(10), stored}}));
        // Read back into the editor unchanged, saved again: the same text.
        d.backToWindow();
        d.picker()->setDate(moment.date());
        Tformzaznamdiar* e = d.open("upravit");
        QCOMPARE(e->findChild<QDateEdit*>(u"datetimepicker"_s)->date(), moment.date());
        QCOMPARE(e->findChild<QTimeEdit*>(u"DateTimePicker1"_s)->time(), moment.time());
        QVERIFY(!e->findChild<QCheckBox*>(u"alarm"_s)->isChecked());
        e->ulozitClick();
        QTRY_VERIFY(!Diary::editor());
        QCOMPARE(rows(u"SELECT datum, avizo, alarm FROM mojdiar"_s),
                 (QList<QStringList>{{stored.left(10), stored, u"0"_s}}));
    }

    void aDamagedMomentOpensAsTheZeroMoment() {
        TempHome home;
        Diary d;
        d.add(u"pokazené"_s, u"2026-12-08 xx:00:00"_s, 1);
        TSQLiteDatabase(kFile).Execute(u"UPDATE mojdiar SET avizo='nie je to dátum'"_s);
        d.window()->Aktualizujden();
        Tformzaznamdiar* e = d.open("upravit");
        QCOMPARE(e->findChild<QDateEdit*>(u"datetimepicker"_s)->date(), QDate(1899, 12, 30));
        QCOMPARE(e->windowTitle(), u"Úprava záznamu pokazené"_s);
        e->ulozitClick(); // armed and in the past: the user is asked for a moment
        QCOMPARE(d.t.dialogs.boxes.last().caption, u"Chyba!"_s);
        QCOMPARE(rows(u"SELECT avizo FROM mojdiar"_s)[0][0], u"nie je to dátum"_s);
    }

    void readModeSavesNothing() {
        TempHome home;
        Diary d;
        d.add(u"obed"_s, u"2026-12-08 12:00:00"_s, 1);
        d.window()->Aktualizujden();
        QTest::keyClick(d.list(), Qt::Key_Return);
        Tformzaznamdiar* e = Diary::editor();
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), u"obed"_s);
        QVERIFY(e->findChild<QPushButton*>(u"ulozit"_s)->isHidden());
        QCOMPARE(WithoutMenuKeys(e->findChild<QPushButton*>(u"zrusit"_s)->text()), u"Zatvoriť"_s);
        QVERIFY(e->findChild<QTimeEdit*>(u"DateTimePicker1"_s)->isReadOnly());
        QTest::keyClick(e->findChild<QLineEdit*>(u"predmetvstup"_s), Qt::Key_Return);
        QVERIFY(Diary::editor());
        QVERIFY(WaitForFocus(e));
        QTest::keyClick(e, Qt::Key_Escape);
        QTRY_VERIFY(!Diary::editor());
        QVERIFY(d.t.dialogs.boxes.isEmpty());
    }

    void anEditUpdatesTheEntryItWasOpenedFor() {
        TempHome home;
        Diary d;
        d.add(u"vypnutá"_s, u"2026-12-08 09:00:00"_s, 0);
        d.window()->Aktualizujden();
        Tformzaznamdiar* e = d.open("upravit");
        QCOMPARE(e->windowTitle(), u"Úprava záznamu vypnutá"_s);
        // Another group becomes current meanwhile; the edit stays with its entry.
        d.window()->createGroup(u"Práca"_s);
        e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->setPlainText(u"nový text"_s);
        e->ulozitClick();
        QTRY_VERIFY(!Diary::editor());
        QCOMPARE(rows(u"SELECT alarm, obsah FROM mojdiar"_s),
                 (QList<QStringList>{{u"0"_s, u"nový text"_s}}));
        QCOMPARE(rows(u"SELECT COUNT(*) FROM Praca"_s), QList<QStringList>{{u"0"_s}});
    }

    void aSaveIntoALockedFileKeepsEverything() {
        TempHome home;
        Diary d;
        Tformzaznamdiar* e = d.open("novymenu");
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(u"dôležité"_s);
        e->findChild<QTimeEdit*>(u"DateTimePicker1"_s)->setTime(QTime(18, 0));
        sqlite3* other = nullptr;
        sqlite3_open("data/Reminders.dbf", &other);
        sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        e->ulozitClick();
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(d.t.dialogs.errors.size(), 1);
        QCOMPARE(Diary::editor(), e);
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(), u"dôležité"_s);
        QCOMPARE(e->findChild<QTimeEdit*>(u"DateTimePicker1"_s)->time(), QTime(18, 0));
        // A view file that cannot be written: stored once, whatever the retries.
        QDir().mkpath(u"data/Reminders.ini"_s);
        e->ulozitClick();
        e->ulozitClick();
        QDir().rmdir(u"data/Reminders.ini"_s);
        e->ulozitClick();
        QTRY_VERIFY(!Diary::editor());
        QCOMPARE(rows(u"SELECT predmet, avizo FROM mojdiar"_s),
                 (QList<QStringList>{{u"dôležité"_s, u"2026-12-08 18:00:00"_s}}));
    }

    void exportLines() {
        TempHome home;
        Diary d;
        d.add(u"neskôr"_s, u"2026-12-09 08:00:00"_s);
        d.add(u"obed"_s, u"2026-03-30 12:00:00"_s);
        TSQLiteDatabase(kFile).Execute(u"UPDATE mojdiar SET obsah='a\r\nb' WHERE predmet='obed'"_s);
        d.t.dialogs.fileNames = {QDir::current().filePath(u"export.txt"_s)};
        d.command("export");
        QCOMPARE(d.t.dialogs.fileDialogTitles, QStringList{u"Export diára"_s});
        QCOMPARE(FileBytes(u"export.txt"_s),
                 QByteArray("30 marec 2026\r\nobed\r\na\r\nb\r\n\r\n"
                            "09 december 2026\r\nnesk\xF4r\r\n\r\n\r\n"));
    }

    // The group's entries go out as a calendar and come back as they were,
    // a binned one not; what no diary entry is is named, a series is
    // stored at its next time, and a file that is no calendar stores
    // nothing.
    void iCalendarOutAndIn() {
        TempHome home;
        Diary d;
        d.add(u"Zubár; Kováč, MUDr."_s, u"2026-12-11 09:30:00"_s, 1);
        d.add(u"Ľščťžýáíé"_s, u"2026-07-01 23:59:59"_s);
        d.add(u"v koši"_s, u"2026-12-12 10:00:00"_s, 0, 0);
        TSQLiteDatabase(kFile).Execute(u"UPDATE mojdiar SET obsah='a\r\nb' WHERE id=1"_s);
        const QString columns = u"SELECT datum, avizo, alarm, predmet, obsah FROM mojdiar "
                                u"WHERE viditelnost=1 ORDER BY avizo"_s;
        const QList<QStringList> before = DbRows(kFile, columns);
        d.t.dialogs.fileNames = {QDir::current().filePath(u"diar"_s)};
        d.command("exportical");
        const QByteArray file = FileBytes(u"diar.ics"_s);
        QVERIFY(file.startsWith("BEGIN:VCALENDAR\r\n"));
        QCOMPARE(file.count("BEGIN:VEVENT"), 2);
        QVERIFY(file.contains("UID:mojdiar-1@velmorand"));
        TSQLiteDatabase(kFile).Execute(u"DELETE FROM mojdiar"_s);
        // An import runs from the event loop: to its end, or cancelled at once.
        const auto import = [&d](const QString& name, bool cancel = false) {
            d.t.dialogs.fileNames = {QDir::current().filePath(name)};
            d.command("importical");
            if (cancel) {
                const auto* progress = d.window()->findChild<QProgressDialog*>(u"importprogress"_s);
                QCOMPARE(progress->labelText(), u"Inportujú sa záznamy…"_s);
                d.window()->runningImport()->cancel();
            }
            QTRY_VERIFY_WITH_TIMEOUT(!d.window()->runningImport(), 20000);
        };
        import(u"diar.ics"_s, true);
        QCOMPARE(d.t.dialogs.boxes.last().text, u"Inport bol zrušený. Nič nebolo inportované."_s);
        QCOMPARE(DbRows(kFile, columns), QList<QStringList>());
        import(u"diar.ics"_s);
        QCOMPARE(d.t.dialogs.boxes.last().text,
                 u"Inport bol úspešne dokončený. Počet inportovaných záznamov: 2"_s);
        QCOMPARE(DbRows(kFile, columns), before);

        WriteFileBytes(u"iny.ics"_s,
                       "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\n"
                       "BEGIN:VTODO\r\nUID:t\r\nEND:VTODO\r\n"
                       "BEGIN:VEVENT\r\nUID:e\r\nDTSTAMP:20261201T000000Z\r\n"
                       "DTSTART:20260105T090000\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:porada\r\n"
                       "END:VEVENT\r\nEND:VCALENDAR\r\n");
        import(u"iny.ics"_s);
        QCOMPARE(d.t.dialogs.boxes.last().text,
                 u"Inport bol úspešne dokončený. Počet inportovaných záznamov: 1\n"
                 u"Z opakovaných udalostí je uložený ich najbližší termín: 1\n"
                 u"Vynechané (nie sú udalosti s dátumom): VTODO \u00D71"_s);
        QCOMPARE(DbRows(kFile, u"SELECT datum, avizo FROM mojdiar WHERE predmet='porada'"_s),
                 (QList<QStringList>{{u"2026-12-14"_s, u"2026-12-14 09:00:00"_s}}));

        WriteFileBytes(u"zly.ics"_s, "BEGIN:VCARD\r\nEND:VCARD\r\n");
        const QList<QStringList> now = DbRows(kFile, columns);
        import(u"zly.ics"_s);
        QVERIFY(d.t.dialogs.errors.last().contains(u"nie je kalendár (BEGIN:VCALENDAR)"_s));
        QCOMPARE(DbRows(kFile, columns), now);
    }

    void indexesServeTheDayAndTheSearch() {
        TempHome home;
        Diary d;
        d.window()->createGroup(u"Práca"_s);
        d.reminders().Najdizaznam();
        // Plain indexes beside each group; the table definitions are untouched.
        QCOMPARE(
            rows(u"SELECT name FROM sqlite_master WHERE type='index' ORDER BY name"_s),
            (QList<QStringList>{
                {u"Praca_alarm"_s}, {u"Praca_den"_s}, {u"mojdiar_alarm"_s}, {u"mojdiar_den"_s}}));
        QCOMPARE(rows(u"SELECT sql FROM sqlite_master WHERE name='mojdiar'"_s)[0][0],
                 u"CREATE TABLE mojdiar([id] INTEGER PRIMARY KEY, [datum] date,[avizo] datetime,"
                 "[alarm] INTEGER,[predmet] warchar(30),[obsah] text,[viditelnost] integer)"_s);
        const QList<QStringList> plan =
            rows(u"EXPLAIN QUERY PLAN SELECT id FROM mojdiar WHERE (viditelnost=1) AND (alarm=1) "
                 "ORDER BY avizo LIMIT 1"_s);
        QVERIFY2(plan.last().last().contains(u"mojdiar_alarm"_s), qPrintable(plan.last().last()));
    }
};

VELMORAND_TEST_MAIN(TestDiary)
#include "tst_diary.moc"
