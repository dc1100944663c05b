// The journal: one entry per day, the list of days, the entry editor.
#include "journal/formdennik.h"
#include "journal/formzaznamdennik.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QAction>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"data/Diary.dbf"_s;

// A started program on 8 December 2026 with the journal active.
struct Journal : TestProgram {
    Journal() {
        t.clock.current = QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC);
        TSettings settings;
        settings.lastWindow = u"dennik"_s;
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        if (!start() || !WaitForFocus(window()))
            qFatal("the journal is not active");
    }
    Tformdennik* window() const { return static_cast<Tformdennik*>(record(u"dennik"_s)); }
    void command(const char* name) const {
        window()->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    QTreeView* list() const { return window()->findChild<QTreeView*>(u"zoznam"_s); }
    QStringList captions() const { return ListCaptions(window()); }
    void backToWindow() { BackTo(window()); }
    Tformzaznamdennik* open(const char* name) {
        command(name);
        Tformzaznamdennik* e = editor();
        if (!e || !WaitForFocus(e))
            qFatal("no active editor after %s", name);
        return e;
    }
    static Tformzaznamdennik* editor(Tformzaznamdennik* besides = nullptr) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<Tformzaznamdennik*>(w); e && e->isVisible() && e != besides)
                return e;
        return nullptr;
    }
    static void fill(Tformzaznamdennik* e, QDate day, const QString& text) {
        if (day.isValid())
            e->findChild<QDateEdit*>(u"datetimepicker"_s)->setDate(day);
        e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->setPlainText(text);
    }
    // A new entry through the editor.
    void write(QDate day, const QString& text) {
        Tformzaznamdennik* e = open("novymenu");
        fill(e, day, text);
        e->ulozitClick();
        backToWindow();
    }
};

QList<QStringList> rows(const QString& sql) {
    return DbRows(kFile, sql);
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void oneEntryPerDay() {
        TempHome home;
        Journal j;
        j.write(QDate(2026, 12, 8), u"prvý"_s);
        Tformzaznamdennik* e = j.open("novymenu");
        QVERIFY(e->findChild<QDateEdit*>(u"datetimepicker"_s)->isVisible());
        QCOMPARE(e->findChild<QDateEdit*>(u"datetimepicker"_s)->date(), QDate(2026, 12, 8));
        Journal::fill(e, QDate(), u"druhý"_s);
        e->ulozitClick();
        QCOMPARE(j.t.dialogs.boxes.size(), 1);
        QCOMPARE(j.t.dialogs.boxes[0].caption, u"Záznam už existuje"_s);
        QCOMPARE(j.t.dialogs.boxes[0].text,
                 u"Ku každému dňu možno vložiť iba jeden záznam.\nVyhľadajte v databáze požadovaný "
                 "záznam a doplňte ho o želaný text, alebo vytvorte záznam k inému dňu."_s);
        QCOMPARE(Journal::editor(), e);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"druhý"_s);
        // The first in the bin, the second is taken; restored, both are listed.
        TSQLiteDatabase(kFile).Execute(u"UPDATE mojdennik SET viditelnost=0"_s);
        e->ulozitClick();
        QTRY_VERIFY(!Journal::editor());
        j.backToWindow();
        j.command("obnovit");
        QCOMPARE(j.captions(),
                 (QStringList{u"utorok 8 december 2026"_s, u"utorok 8 december 2026"_s}));
        QCOMPARE(rows(u"SELECT obsah FROM mojdennik ORDER BY id"_s),
                 (QList<QStringList>{{u"prvý"_s}, {u"druhý"_s}}));
    }

    void twoEditorsForOneDayMakeOneEntry() {
        TempHome home;
        Journal j;
        Tformzaznamdennik* first = j.open("novymenu");
        j.backToWindow();
        j.command("novymenu");
        Tformzaznamdennik* second = Journal::editor(first);
        QVERIFY(second);
        Journal::fill(first, QDate(2026, 5, 1), u"ráno"_s);
        Journal::fill(second, QDate(2026, 5, 1), u"večer"_s);
        first->ulozitClick();
        second->ulozitClick();
        QCOMPARE(rows(u"SELECT datum, obsah FROM mojdennik"_s),
                 (QList<QStringList>{{u"2026-05-01"_s, u"ráno"_s}}));
        QCOMPARE(j.t.dialogs.boxes.last().caption, u"Záznam už existuje"_s);
        second->findChild<QDateEdit*>(u"datetimepicker"_s)->setDate(QDate(2026, 5, 2));
        second->ulozitClick();
        QCOMPARE(rows(u"SELECT COUNT(*) FROM mojdennik"_s), QList<QStringList>{{u"2"_s}});
    }

    void daysInOrderPastAndFuture() {
        TempHome home;
        Journal j;
        j.write(QDate(2008, 3, 30), u"a"_s);
        j.write(QDate(2027, 1, 1), u"b"_s);
        j.write(QDate(2008, 3, 1), u"c"_s);
        QCOMPARE(j.captions(), (QStringList{u"sobota 1 marec 2008"_s, u"nedeľa 30 marec 2008"_s,
                                            u"piatok 1 január 2027"_s}));
        QCOMPARE(j.window()->statusText(), u"Počet záznamov: 3 Počet skupín: 1"_s);
        QCOMPARE(rows(u"SELECT datum FROM mojdennik ORDER BY id"_s),
                 (QList<QStringList>{{u"2008-03-30"_s}, {u"2027-01-01"_s}, {u"2008-03-01"_s}}));
    }

    void anEditChangesTheTextOnly() {
        TempHome home;
        Journal j;
        j.write(QDate(2008, 3, 30), u"pôvodný \"text\""_s);
        Tformzaznamdennik* e = j.open("upravit");
        QCOMPARE(e->windowTitle(), u"Úprava záznamu nedeľa 30 marec 2008"_s);
        QVERIFY(!e->findChild<QDateEdit*>(u"datetimepicker"_s)->isVisible());
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(),
                 u"pôvodný \"text\""_s);
        Journal::fill(e, QDate(), u" "_s); // one blank is a text
        e->ulozitClick();
        QTRY_VERIFY(!Journal::editor());
        QCOMPARE(rows(u"SELECT datum, obsah FROM mojdennik"_s),
                 (QList<QStringList>{{u"2008-03-30"_s, u" "_s}}));
        // Read: the day with the short pattern; nothing to save.
        j.backToWindow();
        QTest::keyClick(j.list(), Qt::Key_Return);
        e = Journal::editor();
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), u"30 marec 2008"_s);
        QVERIFY(e->findChild<QPushButton*>(u"ulozit"_s)->isHidden());
    }

    // Enter in the day field saves, as in any one-line field.
    void enterInTheDayFieldSaves() {
        TempHome home;
        Journal j;
        Tformzaznamdennik* e = j.open("novymenu");
        Journal::fill(e, QDate(2026, 12, 7), u"Výlet"_s);
        auto* day = e->findChild<QDateEdit*>(u"datetimepicker"_s);
        day->setFocus();
        QTest::keyClick(day, Qt::Key_Return);
        QCOMPARE(rows(u"SELECT datum, obsah FROM mojdennik"_s),
                 (QList<QStringList>{{u"2026-12-07"_s, u"Výlet"_s}}));
    }

    void anEmptyTextIsRefused() {
        TempHome home;
        Journal j;
        Tformzaznamdennik* e = j.open("novymenu");
        e->ulozitClick();
        QCOMPARE(j.t.dialogs.boxes.size(), 1);
        QCOMPARE(j.t.dialogs.boxes[0].text,
                 u"Nebol vložený žiadny obsah. Je zbytočné vkladať do denníka prázdny záznam!"_s);
        QCOMPARE(rows(u"SELECT COUNT(*) FROM mojdennik"_s), QList<QStringList>{{u"0"_s}});
    }

    void aRetryAfterTheViewFileFailedInsertsOnce() {
        TempHome home;
        Journal j;
        QDir().mkpath(u"data/Diary.ini"_s);
        Tformzaznamdennik* e = j.open("novymenu");
        Journal::fill(e, QDate(2026, 12, 24), u"Vianoce"_s);
        e->ulozitClick();
        QCOMPARE(j.t.dialogs.errors.size(), 1);
        QVERIFY(QDir().rmdir(u"data/Diary.ini"_s));
        e->ulozitClick(); // no "already exists": the entry is its own
        QTRY_VERIFY(!Journal::editor());
        QCOMPARE(rows(u"SELECT datum, obsah FROM mojdennik"_s),
                 (QList<QStringList>{{u"2026-12-24"_s, u"Vianoce"_s}}));
        QCOMPARE(j.t.dialogs.boxes.size(), 0);
    }

    void exportLinesAndADamagedDay() {
        TempHome home;
        Journal j;
        j.write(QDate(2008, 3, 30), u"prvý riadok\ndruhý riadok"_s);
        TSQLiteDatabase(kFile).Execute(
            u"INSERT INTO mojdennik(datum,obsah,viditelnost) VALUES('2008-13-45','zlý',1)"_s);
        j.window()->Aktualizuj();
        // A day that is no date is listed, marked.
        QCOMPARE(j.captions(), (QStringList{u"nedeľa 30 marec 2008"_s, u"\u26A0 2008-13-45"_s}));
        j.t.dialogs.fileNames = {QDir::current().filePath(u"export.txt"_s)};
        j.command("export");
        QCOMPARE(j.t.dialogs.fileDialogTitles, QStringList{u"Export denníka"_s});
        QCOMPARE(FileBytes(u"export.txt"_s),
                 QByteArray("30 marec 2008\r\nprv\xFD riadok\r\ndruh\xFD riadok\r\n\r\n"
                            "2008-13-45\r\nzl\xFD\r\n\r\n"));
        // Its editor opens too.
        j.list()->setCurrentIndex(j.list()->model()->index(1, 0));
        Tformzaznamdennik* e = j.open("upravit");
        QCOMPARE(e->windowTitle(), u"Úprava záznamu \u26A0 2008-13-45"_s);
    }
};

VELMORAND_TEST_MAIN(TestJournal)
#include "tst_journal.moc"
