// The settings page's "empty the bin" and "wipe everything", against the
// five data files: what goes, what stays, the log, and that a file met by a
// failure stays exactly as it was.
#include "context/programcontext.h"
#include "records/groupedwindow.h"
#include "records/recordkind.h"
#include "shell/formvelmorand.h"
#include "shell/languagechoice.h"
#include "shell/recordkinds.h"
#include "storage/datafiles.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QtTest>
#include <optional>
#include <sys/time.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNotes = u"data/Notes.dbf"_s;
const QStringList kFiles{kNotes, u"data/Reminders.dbf"_s, u"data/Addressbook.dbf"_s,
                         u"data/Diary.dbf"_s, u"data/Birth.dbf"_s};
const QStringList kDefaults{u"mojepoznamky"_s, u"mojdiar"_s, u"mojekontakty"_s, u"mojdennik"_s,
                            u"narodky"_s};

void execute(const QString& file, const QString& sql) {
    TSQLiteDatabase(file).Execute(sql);
}

qint64 count(const QString& file, const QString& sql) {
    return DbRows(file, sql).value(0).value(0).toLongLong();
}

// Every file with a shown and a binned record; the notes also with a group
// in the bin (one of its records still shown), a group emptied before (3),
// a shown row whose table is missing, and a shown group "Doma".
void fill(const TProgramContext& c) {
    for (int i = 0; i < 5; ++i)
        execute(kFiles[i], u"INSERT INTO "_s + kDefaults[i] + u"(viditelnost) VALUES(1),(0)"_s);
    execute(kNotes, GroupTableDefinition(u"praca"_s, c.modules.poznamky.columns));
    execute(kNotes, GroupTableDefinition(u"doma"_s, c.modules.poznamky.columns));
    execute(kNotes, u"INSERT INTO praca(viditelnost) VALUES(1),(0)"_s);
    execute(kNotes, u"INSERT INTO doma(viditelnost) VALUES(1)"_s);
    execute(kNotes, u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES "
                    u"('praca','Práca',0),('stare','Staré',3),('chyba','Chyba',1),"
                    u"('doma','Doma',1)"_s);
}

QString notesCatalogue() {
    QStringList rows;
    for (const QStringList& row :
         DbRows(kNotes, u"SELECT nametable, viditelnost FROM tables ORDER BY id"_s))
        rows.append(row.join(u' '));
    return rows.join(u", "_s);
}

// A sixth kind, made here alone: a grouped file with its own caption and
// headings, and a bare window.
TModuleState gExtra = MakeModule(u"data/Extra.dbf", u"mojedalsie",
                                 u"([id] INTEGER PRIMARY KEY, [obsah] text,[viditelnost] integer);",
                                 u"data/Extra.ini");
extern const TRecordKind kExtraKind;
std::unique_ptr<TRecordWindow> makeExtra(TProgramContext& context) {
    return std::make_unique<TRecordWindow>(context, kExtraKind);
}
const TRecordKind kExtraKind{u"dalsie",
                             Qt::Key_F6,
                             &makeExtra,
                             [](DataModules&) -> TModuleState& { return gExtra; },
                             Str::MyJournal,
                             Str::DeletingJournal,
                             Str::DroppingJournalTables,
                             Str::MyJournal};

struct Program {
    Program() {
        if (!p.start())
            qFatal("the program did not start");
    }
    void click(const char* button, IDialogs::Answer answer = IDialogs::Answer::Yes) {
        p.t.dialogs.answers = {answer};
        p.t.dialogs.boxes.clear();
        p.main->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    TGroupedWindow* notes() const { return static_cast<TGroupedWindow*>(p.record(u"poznamky"_s)); }
    const FakeDialogs::Box& lastBox() const { return p.t.dialogs.boxes.last(); }
    TestProgram p;
};

} // namespace

class TestBinAndWipe : public QObject {
    Q_OBJECT
private slots:
    void emptyingTheBin() {
        TempHome home;
        Program a;
        fill(a.p.t.context);
        // The notes window on the group that goes to the bin.
        a.notes()->chooseGroup(2);
        a.click("kos");
        QCOMPARE(a.p.t.dialogs.boxes.size(), 2);
        QCOMPARE(a.p.t.dialogs.boxes[0].caption, u"Potvrdenie odstránenia záznamov"_s);
        QCOMPARE(a.p.t.dialogs.boxes[0].buttons, IDialogs::Buttons::NoYes); // Enter keeps all
        QCOMPARE(a.lastBox().caption, u"Operácia úspešná"_s);
        const QString shownPart =
            u"\r\nMažem záznamy z diára\r\nMažem záznamy z tabulky mojdiar"
            u"\r\nMažem záznamy z adresára\r\nMažem záznamy z tabulky mojekontakty"
            u"\r\nMažem záznamy z denníka\r\nMažem záznamy z tabulky mojdennik"
            u"\r\nMažem záznamy z narodenín"_s;
        QCOMPARE(a.lastBox().text,
                 u"\r\nMažem záznamy z poznámok\r\nMažem záznamy z tabulky mojepoznamky"
                 u"\r\nMažem tabulku praca\r\nTabuľka chyba neexistuje, preskočená"
                 u"\r\nMažem záznamy z tabulky doma"_s +
                     shownPart);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(count(kFiles[i], u"SELECT COUNT(*) FROM "_s + kDefaults[i]), 1);
            QCOMPARE(count(kFiles[i], u"SELECT viditelnost FROM "_s + kDefaults[i]), 1);
        }
        // The binned group went whole, its shown record too; its row stays, marked 3.
        QVERIFY(!TSQLiteDatabase(kNotes).HasTable(u"praca"_s));
        QCOMPARE(notesCatalogue(), u"mojepoznamky 1, praca 3, stare 3, chyba 1, doma 1"_s);
        // The window whose group went opens on the default group, quietly;
        // restoring groups offers none of the emptied ones.
        a.notes()->FormActivate();
        QCOMPARE(a.notes()->module().table, u"mojepoznamky"_s);
        QVERIFY(a.p.t.dialogs.errors.isEmpty());
        a.notes()->obnovitskupinyClick();
        QCOMPARE(notesCatalogue(), u"mojepoznamky 1, praca 3, stare 3, chyba 1, doma 1"_s);

        // Again: nothing goes, every shown group is named again.
        a.click("kos");
        QCOMPARE(a.lastBox().caption, u"Operácia úspešná"_s);
        QCOMPARE(a.lastBox().text,
                 u"\r\nMažem záznamy z poznámok\r\nMažem záznamy z tabulky mojepoznamky"
                 u"\r\nTabuľka chyba neexistuje, preskočená\r\nMažem záznamy z tabulky doma"_s +
                     shownPart);
        QCOMPARE(count(kNotes, u"SELECT COUNT(*) FROM doma"_s), 1);
    }

    // Every step that visits each kind visits one the program never had.
    void aKindOfItsOwn() {
        TempHome home;
        QDir().mkpath(u"languages"_s);
        QFile::copy(u":/shipped/languages/English.lng"_s, u"languages/English.lng"_s);
        const QString file = gExtra.file;
        const auto catalogue = [&] {
            return DbRows(file, u"SELECT nametable, captiontable, viditelnost FROM tables"_s);
        };
        TRecordKindRegistration extra(kExtraKind);
        Program a;
        QCOMPARE(catalogue(), (QList<QStringList>{{u"mojedalsie"_s, u"Môj denník"_s, u"1"_s}}));
        QVERIFY(a.p.record(u"dalsie"_s));
        execute(file, u"INSERT INTO mojedalsie(obsah,viditelnost) VALUES('a',1),('b',0)"_s);

        a.click("kos");
        QVERIFY2(a.lastBox().text.endsWith(u"\r\nMažem záznamy z denníka\r\nMažem záznamy z "
                                           u"tabulky mojedalsie"_s),
                 qPrintable(a.lastBox().text));
        QCOMPARE(DbRows(file, u"SELECT obsah FROM mojedalsie"_s), QList<QStringList>{{u"a"_s}});

        jazykyClick(a.p.t.context, u"English"_s);
        QCOMPARE(catalogue(), (QList<QStringList>{{u"mojedalsie"_s, u"My journal"_s, u"1"_s}}));
        QCOMPARE(gExtra.caption, u"My journal"_s);

        a.click("vymazat");
        QVERIFY2(a.lastBox().text.contains(
                     u"Deleting tables of the journal\r\nTable deleted mojedalsie"_s),
                 qPrintable(a.lastBox().text));
        QCOMPARE(DbRows(file, u"SELECT COUNT(*) FROM mojedalsie"_s), QList<QStringList>{{u"0"_s}});
        QCOMPARE(catalogue(), (QList<QStringList>{{u"mojedalsie"_s, u"My journal"_s, u"1"_s}}));
        // The copy before the wipe holds it too.
        const QStringList copies = QDir().entryList({u"data-*"_s}, QDir::Dirs);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(DbRows(copies[0] + u"/Extra.dbf"_s, u"SELECT obsah FROM mojedalsie"_s),
                 QList<QStringList>{{u"a"_s}});
    }

    void noChangesNothing_data() {
        QTest::addColumn<QByteArray>("button");
        QTest::newRow("empty the bin") << QByteArray("kos");
        QTest::newRow("wipe") << QByteArray("vymazat");
    }
    void noChangesNothing() {
        QFETCH(QByteArray, button);
        TempHome home;
        Program a;
        fill(a.p.t.context);
        QList<QByteArray> before;
        for (const QString& file : kFiles)
            before.append(FileBytes(file));
        a.click(button.constData(), IDialogs::Answer::No);
        QCOMPARE(a.p.t.dialogs.boxes.size(), 1);
        for (int i = 0; i < 5; ++i)
            QVERIFY2(FileBytes(kFiles[i]) == before[i], qPrintable(kFiles[i]));
        QCOMPARE(QDir().entryList({u"data-*"_s}, QDir::Dirs), QStringList());
    }

    // A file that cannot be worked on stops the operation there: the files
    // before it are done, it and the files after it keep every byte, and the
    // box says what stopped it.
    void aFailureLeavesItsFileAsItWas_data() {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        const QString busy = u"Súbor data/Addressbook.dbf práve používa iný program."_s;
        QTest::newRow("bin, locked") << QByteArray("kos") << 2 << u"lock"_s << busy;
        QTest::newRow("wipe, locked") << QByteArray("vymazat") << 2 << u"lock"_s << busy;
        QTest::newRow("bin, no catalogue")
            << QByteArray("kos") << 3 << u"catalogue"_s
            << u"V súbore data/Diary.dbf chýba časť, ktorú program potrebuje"_s;
        QTest::newRow("wipe, not a database")
            << QByteArray("vymazat") << 4 << u"garbage"_s << u"Súbor data/Birth.dbf je poškodený"_s;
    }
    void aFailureLeavesItsFileAsItWas() {
        QFETCH(QByteArray, button);
        QFETCH(int, failing);
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TempHome home;
        Program a;
        fill(a.p.t.context);
        std::optional<TSQLiteDatabase> holder;
        if (fault == u"lock") {
            holder.emplace(kFiles[failing]);
            holder->Execute(u"BEGIN IMMEDIATE"_s);
        } else if (fault == u"catalogue") {
            execute(kFiles[failing], u"DROP TABLE tables"_s);
        } else {
            WriteFileBytes(kFiles[failing], QByteArray(4096, 'x'));
        }
        QList<QByteArray> before;
        for (const QString& file : kFiles)
            before.append(FileBytes(file));
        a.click(button.constData());
        QCOMPARE(a.lastBox().caption, u"Operácia sa zastavila"_s);
        QVERIFY2(a.lastBox().text.contains(reason), qPrintable(a.lastBox().text));
        QVERIFY2(a.lastBox().text.endsWith(u"Súbor "_s + kFiles[failing] +
                                           u" zostal nezmenený a ďalšie súbory sa nespracovali."_s),
                 qPrintable(a.lastBox().text));
        for (int i = failing; i < 5; ++i)
            QVERIFY2(FileBytes(kFiles[i]) == before[i], qPrintable(kFiles[i]));
        holder.reset();
        // The files before it were done.
        const bool wipe = button == "vymazat";
        QVERIFY(a.lastBox().text.contains(wipe ? u"\r\nMažem tabulky poznámok\r\n"_s
                                               : u"\r\nMažem záznamy z poznámok\r\n"_s));
        for (int i = 0; i < failing; ++i) {
            QCOMPARE(count(kFiles[i], u"SELECT COUNT(*) FROM "_s + kDefaults[i]), wipe ? 0 : 1);
            QCOMPARE(count(kFiles[i], u"SELECT COUNT(*) FROM tables"_s), wipe ? 1 : i == 0 ? 5 : 1);
        }
    }

    // The wipe: a copy first, then every file afresh with its default group,
    // on which every window opens.
    void wipingEverything() {
        TempHome home;
        Program a;
        fill(a.p.t.context);
        // The notes on "Doma", sorted by subject.
        a.notes()->chooseGroup(5);
        a.notes()->module().order = u"ORDER BY predmet"_s;
        a.notes()->Ulozini();
        a.click("vymazat");
        QCOMPARE(a.p.t.dialogs.boxes[0].text.left(30), u"Chystáte sa odstrániť všetky v"_s);
        QCOMPARE(a.p.t.dialogs.boxes[0].buttons, IDialogs::Buttons::NoYes); // Enter keeps all
        QCOMPARE(a.lastBox().caption, u"Operácia úspešná"_s);
        const QString copy = QDir::current().absoluteFilePath(u"data-2026-12-08-100000"_s);
        QCOMPARE(a.lastBox().text,
                 u"\r\nKópia údajov spred vymazania je v priečinku "_s + copy +
                     u"\r\nMažem tabulky poznámok\r\nVymazaná tabulka mojepoznamky"
                     u"\r\nVymazaná tabulka praca\r\nVymazaná tabulka doma"
                     u"\r\nMažem tabulky diára\r\nVymazaná tabulka mojdiar"
                     u"\r\nMažem tabulky adresára\r\nVymazaná tabulka mojekontakty"
                     u"\r\nMažem tabulky denníka\r\nVymazaná tabulka mojdennik"
                     u"\r\nMažem tabulku narodenín\r\nVytvorené nové tabulky"_s);
        const QStringList captions{u"Moje poznámky"_s, u"Môj diár"_s, u"Moje kontakty"_s,
                                   u"Môj denník"_s};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(count(kFiles[i], u"SELECT COUNT(*) FROM "_s + kDefaults[i]), 0);
            if (i < 4)
                QCOMPARE(DbRows(kFiles[i], u"SELECT nametable, captiontable, viditelnost "
                                           u"FROM tables"_s),
                         (QList<QStringList>{{kDefaults[i], captions[i], u"1"_s}}));
            // The copy holds the files as they were.
            QVERIFY(QFileInfo::exists(copy + u'/' + QFileInfo(kFiles[i]).fileName()));
        }
        QCOMPARE(count(copy + u"/Notes.dbf"_s, u"SELECT COUNT(*) FROM praca"_s), 2);
        // The notes' view names the default group and keeps the order.
        const QStringList view = LineFile::read(u"data/Notes.ini"_s);
        QVERIFY2(view.contains(u"mojepoznamky"_s) && view.contains(u"Moje poznámky"_s) &&
                     view.contains(u"ORDER BY predmet"_s) && !view.contains(u"doma"_s),
                 qPrintable(view.join(u'|')));
        for (const auto& window : a.p.windows.records()) {
            auto* list = static_cast<TListWindow*>(window.get());
            list->FormActivate();
            QVERIFY(ListCaptions(list).isEmpty());
            QCOMPARE(list->module().table, list->module().defaultTable);
        }
        QVERIFY(a.p.t.dialogs.errors.isEmpty());

        // Three more wipes, a second apart: the newest three copies stay.
        for (int i = 0; i < 3; ++i) {
            a.p.t.clock.advanceSeconds(1);
            a.click("vymazat");
        }
        QCOMPARE(QDir().entryList({u"data-*"_s}, QDir::Dirs, QDir::Name),
                 (QStringList{u"data-2026-12-08-100001"_s, u"data-2026-12-08-100002"_s,
                              u"data-2026-12-08-100003"_s}));
    }

    // The copy just made always stays, and the log names it; the others
    // are ranked by the time they were made, not by their names (a clock
    // once ahead named these 2027). A copy cut short never counts as one.
    void theCopyJustMadeStays() {
        TempHome home;
        Program a;
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        const QList<std::pair<QString, qint64>> older{{u"data-2027-01-01-000000"_s, now - 10},
                                                      {u"data-2027-01-02-000000"_s, now - 86400},
                                                      {u"data-2027-01-03-000000"_s, now - 172800},
                                                      {u"data-2026-12-08-095959.part"_s, now}};
        for (const auto& [name, made] : older) {
            QDir().mkdir(name);
            WriteFileBytes(name + u"/Notes.dbf"_s, "old");
            const timeval times[2] = {{made, 0}, {made, 0}};
            QCOMPARE(::utimes(QFile::encodeName(name).constData(), times), 0);
        }
        a.click("vymazat");
        const QString copy = QDir::current().absoluteFilePath(u"data-2026-12-08-100000"_s);
        QVERIFY(a.lastBox().text.startsWith(u"\r\nKópia údajov spred vymazania je v priečinku "_s +
                                            copy + u"\r\n"_s));
        QCOMPARE(QDir().entryList({u"data-*"_s}, QDir::Dirs, QDir::Name),
                 (QStringList{u"data-2026-12-08-100000"_s, u"data-2027-01-01-000000"_s,
                              u"data-2027-01-02-000000"_s}));
        QCOMPARE(count(copy + u"/Notes.dbf"_s, u"SELECT COUNT(*) FROM tables"_s), 1);
    }

    // A group emptied from the bin and made again under the same name: the
    // group commands act on the new row, never on the emptied one.
    void aGroupMadeAgainAfterEmptying() {
        TempHome home;
        Program a;
        a.notes()->createGroup(u"Práca"_s);
        a.p.t.dialogs.answers = {IDialogs::Answer::Yes};
        a.notes()->vymazatskupinuClick();
        a.click("kos");
        a.notes()->createGroup(u"Práca"_s);
        QCOMPARE(a.notes()->module().caption, u"Práca"_s);
        a.notes()->renameGroup(u"Práca 2"_s);
        a.p.t.dialogs.answers = {IDialogs::Answer::Yes};
        a.notes()->vymazatskupinuClick();
        const QString sql =
            u"SELECT captiontable, viditelnost FROM tables WHERE id>1 ORDER BY id"_s;
        QCOMPARE(DbRows(kNotes, sql),
                 (QList<QStringList>{{u"Práca"_s, u"3"_s}, {u"Práca 2"_s, u"0"_s}}));
        a.notes()->obnovitskupinyClick();
        QCOMPARE(DbRows(kNotes, sql),
                 (QList<QStringList>{{u"Práca"_s, u"3"_s}, {u"Práca 2"_s, u"1"_s}}));
    }

    // Emptying the bin gives the space back: the file shrinks.
    void theFileShrinks() {
        TempHome home;
        Program a;
        {
            TSQLiteDatabase db(kNotes);
            TSQLiteTransaction transaction(db);
            db.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
                       u"WHERE i<3000) INSERT INTO mojepoznamky(obsah, viditelnost) "
                       u"SELECT hex(randomblob(500)), i<=10 FROM n"_s);
            transaction.Commit();
        }
        const qint64 before = QFileInfo(kNotes).size();
        a.click("kos");
        QCOMPARE(count(kNotes, u"SELECT COUNT(*) FROM mojepoznamky"_s), 10);
        QVERIFY2(QFileInfo(kNotes).size() * 20 < before,
                 qPrintable(u"%1 -> %2"_s.arg(before).arg(QFileInfo(kNotes).size())));
    }
};

VELMORAND_TEST_MAIN(TestBinAndWipe)
#include "tst_binandwipe.moc"
