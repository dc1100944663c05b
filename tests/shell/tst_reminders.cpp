// The reminder timer: announcements, the pending reminder, the alarm.
#include "diary/formzaznamdiar.h"
#include "platform/programicon.h"
#include "shell/formvelmorand.h"
#include "shell/reminders.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRegularExpression>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QDateTime at(const QString& text) {
    return ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, text);
}

// A started program; its timer ticks only when the event loop runs, which
// these tests leave to the ticks they call themselves.
struct Program : TestProgram {
    explicit Program(int mode = 1, const QString& now = u"2026-12-08 09:30:10"_s) {
        t.clock.current = at(now);
        LineFile::write(TSettings::FileName, SettingsLines(TSettings())); // no welcome box
        if (!start())
            qFatal("the program did not start");
        t.context.settings.mode = mode;
        t.sound.played.clear();
    }
    TReminders& reminders() { return windows.reminders(); }
    void tickAt(const QString& time) {
        t.clock.current = at(time);
        reminders().TimerTimer();
    }
    QString tip() const { return t.tray->tip; }
    bool alarmItemShown() const {
        return main->findChild<QAction*>(u"vypnialarmpopup"_s)->isVisible();
    }
};

void execute(const QString& sql) {
    TSQLiteDatabase db(u"data/Reminders.dbf"_s);
    db.Execute(sql);
}

void addGroup(const QString& table, const QString& caption, int visible = 1) {
    execute(u"CREATE TABLE "_s + table + QString::fromUtf16(Schema::kDiaryColumns));
    execute(u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES(%1,%2,%3)"_s
                .arg(SqlText(table), SqlText(caption))
                .arg(visible));
}

void addEntry(const QString& table, const QString& subject, const QString& avizo, int alarm = 1,
              int visible = 1) {
    execute(
        u"INSERT INTO %1(datum,avizo,alarm,predmet,obsah,viditelnost) VALUES(%2,%3,'%4',%5,'',%6)"_s
            .arg(table, SqlText(avizo.left(10)), SqlText(avizo))
            .arg(alarm)
            .arg(SqlText(subject))
            .arg(visible));
}

QString alarmOf(const QString& table, const QString& subject) {
    const auto rows =
        DbRows(u"data/Reminders.dbf"_s,
               u"SELECT alarm FROM %1 WHERE predmet=%2"_s.arg(table, SqlText(subject)));
    return rows.isEmpty() ? QString() : rows[0][0];
}

} // namespace

class TestReminders : public QObject {
    Q_OBJECT
private slots:
    void schedule_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QStringList>("sounds");
        const QStringList none;
        const auto hour = [](int strokes) {
            return QStringList{u"sounds/hour.wav x1"_s, u"sounds/gong1.wav x%1"_s.arg(strokes)};
        };
        const auto quarter = [](int strokes) {
            return QStringList{u"sounds/gong2.wav x%1"_s.arg(strokes)};
        };
        QTest::newRow("mode 0 at :00") << 0 << u"10:00:00"_s << none;
        QTest::newRow("mode 0 at :30") << 0 << u"10:30:00"_s << none;
        QTest::newRow("mode 1 at :00") << 1 << u"10:00:00"_s << hour(10);
        QTest::newRow("mode 1 at :15") << 1 << u"10:15:00"_s << none;
        QTest::newRow("mode 1 at :30") << 1 << u"10:30:00"_s << none;
        QTest::newRow("mode 2 at :15") << 2 << u"10:15:30"_s << none;
        QTest::newRow("mode 2 at :30") << 2 << u"10:30:59"_s << quarter(2);
        QTest::newRow("mode 2 at :45") << 2 << u"10:45:00"_s << none;
        QTest::newRow("mode 3 at :00") << 3 << u"10:00:00"_s << hour(10);
        QTest::newRow("mode 3 at :15") << 3 << u"10:15:00"_s << quarter(1);
        QTest::newRow("mode 3 at :30") << 3 << u"10:30:00"_s << quarter(2);
        QTest::newRow("mode 3 at :45") << 3 << u"10:45:00"_s << quarter(3);
        QTest::newRow("mode 3 at :46") << 3 << u"10:46:00"_s << none;
        QTest::newRow("midnight") << 1 << u"00:00:00"_s << hour(12);
        QTest::newRow("noon") << 1 << u"12:00:00"_s << hour(12);
        QTest::newRow("one o'clock") << 1 << u"13:00:00"_s << hour(1);
        QTest::newRow("eleven at night") << 1 << u"23:00:30"_s << hour(11);
        QTest::newRow("one at night") << 2 << u"01:00:00"_s << hour(1);
    }
    void schedule() {
        QFETCH(int, mode);
        QFETCH(QString, time);
        QFETCH(QStringList, sounds);
        TempHome home;
        Program p(mode);
        // The program has just started in this minute: its first tick announces.
        p.tickAt(u"2026-12-08 "_s + time);
        QCOMPARE(p.t.sound.played, sounds);
    }

    void onceAMinuteAndRearmedBeforeEachQuarter() {
        TempHome home;
        Program p(3);
        QDateTime now = at(u"2026-12-08 09:58:30"_s);
        for (; now <= at(u"2026-12-08 11:00:30"_s); now = now.addSecs(1)) {
            p.t.clock.current = now;
            p.reminders().TimerTimer();
        }
        QCOMPARE(p.t.sound.played, (QStringList{u"sounds/hour.wav x1"_s, u"sounds/gong1.wav x10"_s,
                                                u"sounds/gong2.wav x1"_s, u"sounds/gong2.wav x2"_s,
                                                u"sounds/gong2.wav x3"_s, u"sounds/hour.wav x1"_s,
                                                u"sounds/gong1.wav x11"_s}));
    }

    void startedAfterTheMinuteSaysNothingUntilTheNext() {
        TempHome home;
        Program p(3);
        // Started at 10:01: the full hour has passed unannounced and stays
        // so; the quarter at 10:15 is the first thing heard.
        QDateTime now = at(u"2026-12-08 10:01:00"_s);
        for (; now < at(u"2026-12-08 10:15:00"_s); now = now.addSecs(1)) {
            p.t.clock.current = now;
            p.reminders().TimerTimer();
        }
        QVERIFY(p.t.sound.played.isEmpty());
        p.tickAt(u"2026-12-08 10:15:00"_s);
        QCOMPARE(p.t.sound.played, QStringList{u"sounds/gong2.wav x1"_s});
    }

    void aFailingSoundIsReportedOnce() {
        TempHome home;
        Program p(3);
        p.t.sound.failing = {u"sounds/gong1.wav"_s};
        for (int s = 0; s < 5; ++s)
            p.tickAt(u"2026-12-08 10:00:0%1"_s.arg(s));
        QCOMPARE(
            p.t.dialogs.errors,
            QStringList{
                u"Zvuk sounds/gong1.wav sa nedá prehrať. Súbor chýba alebo nie je vo formáte WAVE."_s});
        QVERIFY(p.t.sound.played.isEmpty()); // nothing of the announcement is played
        QVERIFY(p.reminders().isRunning());
        // Still armed: once the file is back, the announcement sounds in the same minute.
        p.t.sound.failing.clear();
        p.tickAt(u"2026-12-08 10:00:05"_s);
        QCOMPARE(p.t.sound.played,
                 (QStringList{u"sounds/hour.wav x1"_s, u"sounds/gong1.wav x10"_s}));
        // After a sound has played, a new failure is reported again.
        p.t.sound.failing = {u"sounds/gong2.wav"_s};
        p.tickAt(u"2026-12-08 10:14:00"_s);
        p.tickAt(u"2026-12-08 10:15:00"_s);
        p.tickAt(u"2026-12-08 10:15:01"_s);
        QCOMPARE(p.t.dialogs.errors.size(), 2);
    }

    void withoutASoundDeviceNothingIsLost() {
        TempHome home;
        Program p(1);
        p.t.sound.noDevice = true;
        addEntry(u"mojdiar"_s, u"obed"_s, u"2026-12-08 09:00:00"_s);
        p.reminders().Najdizaznam();
        p.tickAt(u"2026-12-08 10:00:00"_s);
        p.windows.Pipni();
        // Said in the tip, never in a box, and nothing counts as played.
        QVERIFY(p.t.dialogs.errors.isEmpty());
        QVERIFY(p.t.sound.played.isEmpty());
        QCOMPARE(p.tip(), u"Bez zvuku \u2013 Pripomienka: obed"_s);
        QVERIFY(p.reminders().alarmActive());
        p.t.hotKeys.press(1);
        QCOMPARE(p.tip(), u"Bez zvuku \u2013 Žiadna pripomienka v diári"_s);
        // A device appears: the hour, not announced yet, sounds in its minute.
        p.t.sound.noDevice = false;
        p.tickAt(u"2026-12-08 10:00:05"_s);
        QCOMPARE(p.t.sound.played,
                 (QStringList{u"sounds/hour.wav x1"_s, u"sounds/gong1.wav x10"_s}));
        QCOMPARE(p.tip(), u"Žiadna pripomienka v diári"_s);
    }

    void pendingReminder() {
        TempHome home;
        Program p;
        QCOMPARE(p.tip(), u"Žiadna pripomienka v diári"_s);
        QVERIFY(!p.reminders().reminderPending());

        addGroup(u"praca"_s, u"Práca"_s);
        addGroup(u"kos"_s, u"Kôš"_s, 0);
        addEntry(u"mojdiar"_s, u"neskôr"_s, u"2026-12-09 08:00:00"_s);
        addEntry(u"mojdiar"_s, u"vypnutá"_s, u"2026-12-08 07:00:00"_s, 0);
        addEntry(u"mojdiar"_s, u"v koši"_s, u"2026-12-08 07:00:00"_s, 1, 0);
        addEntry(u"kos"_s, u"v koši skupiny"_s, u"2026-12-08 06:00:00"_s);
        addEntry(u"praca"_s, u"porada"_s, u"2026-12-08 14:05:00"_s);
        addEntry(u"praca"_s, u"obed"_s, u"2026-12-08 12:00:00"_s);
        p.reminders().Najdizaznam();
        QCOMPARE(p.reminders().pendingCount(), 2);
        QCOMPARE(p.reminders().pending().subject, u"obed"_s);
        QCOMPARE(p.reminders().pending().table, u"praca"_s);
        QCOMPARE(p.reminders().pending().caption, u"Práca"_s);
        QCOMPARE(p.tip(), u"Pripomienka: 08 december 2026 12:00"_s);

        // A tie goes to the group listed first in the catalogue.
        addEntry(u"mojdiar"_s, u"tiež obed"_s, u"2026-12-08 12:00:00"_s);
        p.reminders().Najdizaznam();
        QCOMPARE(p.reminders().pending().subject, u"tiež obed"_s);
        QCOMPARE(p.reminders().pending().table, u"mojdiar"_s);

        // At midnight the time is left out.
        addEntry(u"praca"_s, u"polnoc"_s, u"2026-12-08 00:00:00"_s);
        p.reminders().Najdizaznam();
        QCOMPARE(p.tip(), u"Pripomienka: 08 december 2026"_s);
    }

    void theComparisonIsStrict() {
        TempHome home;
        Program p(0);
        addEntry(u"mojdiar"_s, u"obed"_s, u"2026-12-08 12:00:00"_s);
        p.reminders().Najdizaznam();
        p.tickAt(u"2026-12-08 12:00:00"_s);
        QVERIFY(!p.reminders().alarmActive());
        QVERIFY(p.t.sound.played.isEmpty());
        p.tickAt(u"2026-12-08 12:00:01"_s);
        QVERIFY(p.reminders().alarmActive());
        QVERIFY(p.alarmItemShown());
        QCOMPARE(p.tip(), u"Pripomienka: obed"_s);
        QCOMPARE(p.t.sound.played, QStringList{u"sounds/avizo.wav x1"_s});
        // It rings at every tick, but never queues a second alarm sound.
        p.tickAt(u"2026-12-08 12:00:02"_s);
        QCOMPARE(p.t.sound.played.size(), 2);
        p.t.sound.playing = {u"sounds/avizo.wav"_s};
        p.tickAt(u"2026-12-08 12:00:03"_s);
        p.tickAt(u"2026-12-08 12:00:04"_s);
        QCOMPARE(p.t.sound.played.size(), 2);
    }

    void dueWhileNotRunningRingsAtTheFirstTick() {
        TempHome home;
        QDir().mkdir(u"data"_s);
        CreateDataFile(DataModules().diar, u"Môj diár"_s);
        addEntry(u"mojdiar"_s, u"včera"_s, u"2026-12-07 18:00:00"_s);
        Program p(0);
        QCOMPARE(p.tip(), u"Pripomienka: 07 december 2026 18:00"_s);
        p.tickAt(u"2026-12-08 09:30:11"_s);
        QVERIFY(p.reminders().alarmActive());
    }

    void switchOff_data() {
        QTest::addColumn<bool>("box");
        QTest::newRow("with the box") << true;
        QTest::newRow("without the box") << false;
    }
    void switchOff() {
        QFETCH(bool, box);
        TempHome home;
        Program p(0);
        p.main->findChild<QCheckBox*>(u"oknozdiara"_s)->setChecked(box);
        addGroup(u"praca"_s, u"Práca"_s);
        addEntry(u"praca"_s, u"obed"_s, u"2026-12-08 09:00:00"_s);
        addEntry(u"mojdiar"_s, u"večera"_s, u"2026-12-08 19:00:00"_s);
        p.reminders().Najdizaznam();
        p.tickAt(u"2026-12-08 09:30:11"_s);
        QVERIFY(p.reminders().alarmActive());

        p.t.hotKeys.press(1);
        QCOMPARE(alarmOf(u"praca"_s, u"obed"_s), u"0"_s);
        QCOMPARE(alarmOf(u"mojdiar"_s, u"večera"_s), u"1"_s);
        QCOMPARE(FileBytes(u"data/Reminders.ini"_s), QByteArray("praca\r\nPr\xE1"
                                                                "ca\r\n"));
        QCOMPARE(p.t.context.modules.diar.table, u"praca"_s);
        QCOMPARE(p.t.dialogs.boxes.size(), box ? 1 : 0);
        if (box) {
            QCOMPARE(p.t.dialogs.boxes[0].caption, u"Pripomienka z diára"_s);
            QCOMPARE(p.t.dialogs.boxes[0].text, u"obed\n08 december 2026 09:00"_s);
            QCOMPARE(p.t.dialogs.boxes[0].icon, IDialogs::Icon::Information);
        }
        QVERIFY(p.reminders().isRunning());
        QVERIFY(!p.reminders().alarmActive());
        QVERIFY(!p.alarmItemShown());
        // The next reminder is the one looked for now.
        QCOMPARE(p.reminders().pending().subject, u"večera"_s);
        QCOMPARE(p.tip(), u"Pripomienka: 08 december 2026 19:00"_s);
        p.tickAt(u"2026-12-08 09:30:12"_s);
        QVERIFY(!p.reminders().alarmActive());
    }

    // A subject of megabytes rings and is switched off at once; the box
    // and the tip show the start of it.
    void aSubjectOfMegabytes() {
        TempHome home;
        Program p(0);
        const QString subject = u"Zubár "_s.repeated(500000);
        addEntry(u"mojdiar"_s, subject, u"2026-12-08 09:00:00"_s);
        p.reminders().Najdizaznam();
        QElapsedTimer clock;
        clock.start();
        p.tickAt(u"2026-12-08 09:30:11"_s);
        p.t.hotKeys.press(1);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(alarmOf(u"mojdiar"_s, subject), u"0"_s);
        QCOMPARE(p.t.dialogs.boxes.size(), 1);
        QCOMPARE(p.t.dialogs.boxes[0].text,
                 subject.left(1000) + u"\u2026\n08 december 2026 09:00"_s);
    }

    // The desktop notification of a ringing entry and its answers. Only
    // "switch off" clears the mark; closing the notification answers nothing.
    void theNotification_data() {
        QTest::addColumn<QString>("answer");
        for (const char* answer : {"off", "snooze", "open", "dismiss", "hot key", "no service"})
            QTest::newRow(answer) << QString::fromLatin1(answer);
    }
    void theNotification() {
        QFETCH(QString, answer);
        TempHome home;
        Program p(0);
        FakeNotifications& n = p.t.notifications;
        n.service = answer != u"no service";
        addGroup(u"praca"_s, u"Práca"_s);
        addEntry(u"praca"_s, u"Zubár"_s, u"2026-12-08 09:00:00"_s);
        execute(u"UPDATE praca SET obsah='Priniesť kartičku\r\npoistenca.'"_s);
        p.reminders().Najdizaznam();
        p.tickAt(u"2026-12-08 09:30:11"_s);
        p.tickAt(u"2026-12-08 09:30:12"_s);
        QCOMPARE(n.shown.size(), 1); // one for the ringing, not one a tick
        QCOMPARE(n.shown[0].summary, u"Zubár"_s);
        QCOMPARE(n.shown[0].body, u"08 december 2026 09:00\nPriniesť kartičku poistenca."_s);
        QCOMPARE(n.shown[0].actions,
                 (QStringList{u"off=Vypnúť"_s, u"snooze=Odložiť o 10 minút"_s, u"open=Otvoriť"_s}));
        QCOMPARE(n.open, n.service);
        // The tray icon says that it rings, once.
        QCOMPARE(p.t.tray->icon, RingingIcon().cacheKey());
        QCOMPARE(p.t.tray->calls.filter(QRegularExpression(u"^modify 2 "_s)).size(), 1);
        p.t.sound.stopped.clear();

        if (answer == u"off" || answer == u"snooze" || answer == u"open")
            n.answer(answer);
        else if (answer == u"dismiss")
            n.dismiss();
        else
            p.t.hotKeys.press(1);
        const bool stopped = answer != u"open" && answer != u"dismiss";
        QCOMPARE(p.reminders().alarmActive(), !stopped);
        QCOMPARE(p.t.sound.stopped.contains(u"sounds/avizo.wav"_s), stopped);
        QCOMPARE(n.open, !stopped && answer != u"dismiss");
        QCOMPARE(p.t.tray->icon == RingingIcon().cacheKey(), !stopped);
        const bool cleared = answer == u"off" || answer == u"hot key" || answer == u"no service";
        QCOMPARE(alarmOf(u"praca"_s, u"Zubár"_s), cleared ? u"0"_s : u"1"_s);
        if (answer == u"open") {
            // The diary on the entry's group, its editor reading it.
            QCOMPARE(FileBytes(u"data/Reminders.ini"_s), QByteArray("praca\r\nPr\xE1"
                                                                    "ca\r\n"));
            QTRY_VERIFY(OpenWindow<Tformzaznamdiar>());
            QCOMPARE(
                OpenWindow<Tformzaznamdiar>()->findChild<QLineEdit*>(u"predmetvstup"_s)->text(),
                u"Zubár"_s);
            QVERIFY(p.visibleWindows().contains(u"diar"_s));
        }
        if (answer == u"snooze") {
            // Quiet for ten minutes from the answer, then it rings again,
            // announced again.
            QCOMPARE(p.tip(), u"Žiadna pripomienka v diári"_s);
            p.tickAt(u"2026-12-08 09:40:11"_s);
            QVERIFY(!p.reminders().alarmActive());
            p.tickAt(u"2026-12-08 09:40:12"_s);
            QVERIFY(p.reminders().alarmActive());
            QCOMPARE(n.shown.size(), 2);
            QVERIFY(n.open);
        }
        if (answer == u"dismiss") {
            p.tickAt(u"2026-12-08 09:30:13"_s);
            QVERIFY(p.reminders().alarmActive());
        }
    }

    void switchedOffFromTheTrayWhileHidden() {
        TempHome home;
        Program p(0);
        addEntry(u"mojdiar"_s, u"obed"_s, u"2026-12-08 09:00:00"_s);
        p.reminders().Najdizaznam();
        p.windows.Skryvsetko();
        p.tickAt(u"2026-12-08 09:30:11"_s);
        p.main->findChild<QAction*>(u"vypnialarmpopup"_s)->trigger();
        QCOMPARE(p.t.dialogs.boxes.size(), 1);
        QVERIFY(p.windows.isProgramHidden());
        QCOMPARE(p.visibleWindows(), QStringList());
        QCOMPARE(p.tip(), u"Žiadna pripomienka v diári"_s);
    }

    // An armed entry whose moment is damaged rings at once, wherever its
    // text sorts, and once: switching it off clears its mark. A moment in
    // another form counts at the moment it names.
    void damagedMomentRingsAtOnce_data() {
        QTest::addColumn<QString>("moment");
        QTest::newRow("sorts first") << u"0000-00-00 0x:00:00"_s;
        QTest::newRow("sorts last") << u"zzz"_s;
        QTest::newRow("a thirteenth month") << u"2026-13-01 10:00:00"_s;
        QTest::newRow("30 February") << u"2026-02-30 10:00:00"_s;
        // Not damaged, but not in the stored form: it counts at its moment.
        QTest::newRow("another form, earlier") << u"2026-12-8 9:00:00"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("none at all") << u"NULL"_s;
    }
    void damagedMomentRingsAtOnce() {
        QFETCH(QString, moment);
        TempHome home;
        Program p(0);
        addEntry(u"mojdiar"_s, u"neskôr"_s, u"2026-12-09 08:00:00"_s);
        addEntry(u"mojdiar"_s, u"pokazené"_s, moment);
        if (moment == u"NULL")
            execute(u"UPDATE mojdiar SET avizo=NULL WHERE predmet='pokazené'"_s);
        p.reminders().Najdizaznam();
        QVERIFY(p.t.dialogs.errors.isEmpty());
        QCOMPARE(p.reminders().pending().subject, u"pokazené"_s);
        p.tickAt(u"2026-12-08 09:30:11"_s);
        QCOMPARE(p.tip(), u"Pripomienka: pokazené"_s);
        p.t.hotKeys.press(1);
        QCOMPARE(alarmOf(u"mojdiar"_s, u"pokazené"_s), u"0"_s);
        QCOMPARE(p.reminders().pending().subject, u"neskôr"_s);
        p.tickAt(u"2026-12-08 09:30:12"_s);
        QVERIFY(!p.reminders().alarmActive());
    }

    // The alarm belongs to the entry that started it. Hot key 1 clears that
    // entry only, never the one pending after it; and once that entry is
    // deleted, moved later or disarmed, the alarm stops by itself.
    void theAlarmBelongsToItsEntry_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("key");
        for (const bool key : {true, false}) {
            const QByteArray how = key ? ", then hot key 1" : ", then a tick";
            QTest::newRow("deleted" + how) << u"viditelnost=0"_s << key;
            QTest::newRow("moved later" + how)
                << u"avizo='2026-12-09 10:00:00', datum='2026-12-09'"_s << key;
            QTest::newRow("disarmed" + how) << u"alarm=0"_s << key;
        }
    }
    void theAlarmBelongsToItsEntry() {
        QFETCH(QString, change);
        QFETCH(bool, key);
        TempHome home;
        Program p(0);
        addEntry(u"mojdiar"_s, u"obed"_s, u"2026-12-08 09:00:00"_s);
        addEntry(u"mojdiar"_s, u"zajtra"_s, u"2026-12-09 08:00:00"_s);
        p.reminders().Najdizaznam();
        p.tickAt(u"2026-12-08 09:30:11"_s);
        QVERIFY(p.reminders().alarmActive());
        execute(u"UPDATE mojdiar SET "_s + change + u" WHERE predmet='obed'"_s);
        p.reminders().Najdizaznam(); // as the diary does after a change
        QCOMPARE(p.reminders().pending().subject, u"zajtra"_s);
        if (key)
            p.t.hotKeys.press(1);
        else
            p.tickAt(u"2026-12-08 09:30:12"_s);
        QVERIFY(!p.reminders().alarmActive());
        QVERIFY(!p.alarmItemShown());
        QCOMPARE(p.t.sound.stopped, QStringList{u"sounds/avizo.wav"_s});
        QCOMPARE(alarmOf(u"mojdiar"_s, u"zajtra"_s), u"1"_s);
        if (change.startsWith(u"avizo"))
            QCOMPARE(alarmOf(u"mojdiar"_s, u"obed"_s), u"1"_s); // it rings tomorrow
        QCOMPARE(p.tip(), u"Pripomienka: 09 december 2026 08:00"_s);
        p.tickAt(u"2026-12-08 09:30:13"_s);
        QVERIFY(!p.reminders().alarmActive());
    }

    void lockedFileStillSilencesTheAlarm() {
        TempHome home;
        Program p(0);
        p.main->findChild<QCheckBox*>(u"oknozdiara"_s)->setChecked(false);
        addEntry(u"mojdiar"_s, u"obed"_s, u"2026-12-08 09:00:00"_s);
        addEntry(u"mojdiar"_s, u"večera"_s, u"2026-12-08 19:00:00"_s);
        p.reminders().Najdizaznam();
        p.tickAt(u"2026-12-08 09:30:11"_s);
        p.t.sound.playing = {u"sounds/avizo.wav"_s};
        sqlite3* other = nullptr;
        sqlite3_open("data/Reminders.dbf", &other);
        sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        p.t.hotKeys.press(1);
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        // The sound stops and the alarm is off, though the file keeps the mark.
        QCOMPARE(p.t.sound.stopped, QStringList{u"sounds/avizo.wav"_s});
        QVERIFY(!p.reminders().alarmActive());
        QVERIFY(!p.alarmItemShown());
        QCOMPARE(p.t.dialogs.errors,
                 QStringList{u"Alarm je vypnutý, ale do súboru data/Reminders.dbf sa nedá zapísať, "
                             "že pripomienka je vybavená. Po ďalšom štarte zaznie znova."_s});
        QCOMPARE(alarmOf(u"mojdiar"_s, u"obed"_s), u"1"_s);
        // It stays quiet; the next reminder is the one pending.
        QCOMPARE(p.tip(), u"Pripomienka: 08 december 2026 19:00"_s);
        p.t.sound.played.clear();
        p.tickAt(u"2026-12-08 09:30:12"_s);
        QVERIFY(!p.reminders().alarmActive());
        QVERIFY(p.t.sound.played.isEmpty());
    }

    void aSearchThatFailsArmsNothingAndSaysSoOnce() {
        TempHome home;
        QDir().mkdir(u"data"_s);
        CreateDataFile(DataModules().diar, u"Môj diár"_s);
        // A visible group whose table is missing.
        execute(
            u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('chyba','Chyba',1)"_s);
        Program p(0);
        QCOMPARE(p.t.dialogs.errors,
                 QStringList{u"Pripomienky zo súboru data/Reminders.dbf sa nedajú prečítať, preto "
                             "žiadny alarm nezaznie."_s});
        QCOMPARE(p.tip(), u"Žiadna pripomienka v diári"_s);
        p.tickAt(u"2026-12-08 09:30:11"_s);
        QVERIFY(!p.reminders().alarmActive());
        QVERIFY(p.t.sound.played.isEmpty());
        p.reminders().Najdizaznam();
        QCOMPARE(p.t.dialogs.errors.size(), 1);
        // The groups that can be read still ring, and hot key 1 stops them.
        addEntry(u"mojdiar"_s, u"obed"_s, u"2026-12-08 09:00:00"_s);
        p.reminders().Najdizaznam();
        p.tickAt(u"2026-12-08 09:30:12"_s);
        QVERIFY(p.reminders().alarmActive());
        QCOMPARE(p.tip(), u"Pripomienka: obed"_s);
        p.t.hotKeys.press(1);
        QVERIFY(!p.reminders().alarmActive());
        QCOMPARE(alarmOf(u"mojdiar"_s, u"obed"_s), u"0"_s);
        QCOMPARE(p.t.dialogs.errors.size(), 1);
    }
};

VELMORAND_TEST_MAIN(TestReminders)
#include "tst_reminders.moc"
