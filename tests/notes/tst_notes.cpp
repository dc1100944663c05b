// The notes window and the record window pattern: list, editor, bin,
// export, sorting, groups, view file.
#include "notes/formpoznamky.h"
#include "notes/formzaznampoznamky.h"
#include "records/groupdialogs.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNotes = u"data/Notes.dbf"_s;

// A started program on a home folder that has its settings file (no
// welcome), with the notes window active.
struct Notes : TestProgram {
    Notes() {
        LineFile::write(TSettings::FileName, SettingsLines(TSettings()));
        t.clock.current = QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC);
        if (!start() || !WaitForFocus(window()))
            qFatal("the notes window is not active");
    }
    TFormpoznamky* window() const { return static_cast<TFormpoznamky*>(record(u"poznamky"_s)); }
    QAction* action(const char* name) const {
        return window()->findChild<QAction*>(QString::fromLatin1(name));
    }
    void command(const char* name) const { action(name)->trigger(); }
    QTreeView* list() const { return window()->findChild<QTreeView*>(u"zoznam"_s); }
    QStringList captions() const {
        QStringList items;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            items.append(list()->model()->index(row, 0).data().toString());
        return items;
    }
    QString status() const { return window()->statusBar()->findChild<QLabel*>()->text(); }
    // Back to the notes window, as when an editor or a dialog closes.
    void backToWindow() {
        window()->showActive();
        if (!WaitForFocus(window()))
            qFatal("the notes window did not come back");
    }
    // Opens an editor and waits until the user could type into it.
    Tformzaznampoznamky* open(const char* command) {
        this->command(command);
        Tformzaznampoznamky* e = editor();
        if (!e || !WaitForFocus(e))
            qFatal("no active editor after %s", command);
        return e;
    }
    // Writes a note through the editor.
    void write(const QString& subject, const QString& body = QString()) {
        Tformzaznampoznamky* e = open("novymenu");
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(subject);
        e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->setPlainText(body);
        e->ulozitClick();
        backToWindow();
    }
    static Tformzaznampoznamky* editor() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<Tformzaznampoznamky*>(w); e && e->isVisible())
                return e;
        return nullptr;
    }
    // The open dialog of that kind, once it has the focus.
    template <typename T> static T* dialog() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(w); d && d->isVisible())
                return WaitForFocus(d) ? d : nullptr;
        return nullptr;
    }
    template <typename T> static bool dialogOpen() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<T*>(w) && w->isVisible())
                return true;
        return false;
    }
};

QList<QStringList> rows(const QString& sql) {
    return DbRows(kNotes, sql);
}

} // namespace

class TestNotes : public QObject {
    Q_OBJECT
private slots:
    void konvertuj_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("table");
        // Capitals with diacritics become small letters; plain capitals stay.
        QTest::newRow("capital with diacritics") << u"Moje Úlohy"_s << u"Mojeulohy"_s;
        QTest::newRow("hyphen") << u"Práca-2008"_s << u"Praca2008"_s;
        QTest::newRow("all mapped") << u"áäÁÄčČďĎéÉěĚíÍĺĹľĽňŇóÓôÔŕŔřŘšŠťŤúÚůýÝžŽ"_s
                                    << u"aaaaccddeeeeiillllnnoooorrrrssttuuuyyzz"_s;
        QTest::newRow("removed") << u"a.b,c:d;e?f-g(h)i/j_k l\"m§n!o"_s << u"abcdefghijklmno"_s;
        QTest::newRow("capital Ů stays") << u"Ů"_s << u"Ů"_s;
        QTest::newRow("only removed characters") << u" - "_s << QString();
        QTest::newRow("255 characters") << QString(300, u'x') << QString(255, u'x');
        QTest::newRow("255 counted before removing")
            << QString(254, u'x') + u" yz"_s << QString(254, u'x');
    }
    void konvertuj() {
        QFETCH(QString, caption);
        QFETCH(QString, table);
        QCOMPARE(Konvertuj(caption), table);
    }

    void emptyGroup() {
        TempHome home;
        Notes n;
        QCOMPARE(n.window()->windowTitle(), u"Poznámky - Moje poznámky"_s);
        QVERIFY(n.captions().isEmpty());
        QVERIFY(!n.action("upravit")->isEnabled());
        QVERIFY(!n.action("vymazat")->isEnabled());
        QCOMPARE(n.status(), u"Počet záznamov: 0 Počet skupín: 1"_s);
        n.command("export");
        QCOMPARE(n.t.dialogs.boxes.size(), 1);
        QCOMPARE(n.t.dialogs.boxes[0].caption, u"Žiadne záznamy!"_s);
        QCOMPARE(n.t.dialogs.boxes[0].text,
                 u"Neboli nájdené žiadne záznamy!\nexport nie je možné vykonať!"_s);
        QVERIFY(n.t.dialogs.fileDialogTitles.isEmpty());
        // Nothing selected: edit, read and delete do nothing.
        n.command("upravit");
        n.window()->citat();
        n.window()->vymazatClick();
        QVERIFY(!Notes::editor());
        QCOMPARE(n.t.dialogs.boxes.size(), 1);
    }

    void insertThroughTheEditor() {
        TempHome home;
        Notes n;
        QTest::keyClick(n.window(), Qt::Key_N, Qt::ControlModifier);
        Tformzaznampoznamky* e = Notes::editor();
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), u"Nový záznam"_s);
        QCOMPARE(e->findChild<QPushButton*>(u"ulozit"_s)->text(), u"Uložiť"_s);
        QVERIFY(WaitForFocus(e));
        QTest::keyClicks(e->findChild<QLineEdit*>(u"predmetvstup"_s), u"Nakup"_s);
        auto* body = e->findChild<QPlainTextEdit*>(u"obsahvstup"_s);
        QTest::keyClicks(body, u"chlieb"_s);
        QTest::keyClick(body, Qt::Key_Return); // a new line, not a save
        QTest::keyClicks(body, u"mlieko"_s);
        QVERIFY(Notes::editor());
        QTest::keyClick(e->findChild<QLineEdit*>(u"predmetvstup"_s), Qt::Key_Return); // saves
        QTRY_VERIFY(!Notes::editor());
        QCOMPARE(rows(u"SELECT predmet, obsah, datum, datumzmeny, viditelnost FROM mojepoznamky"_s),
                 (QList<QStringList>{{u"Nakup"_s, u"chlieb\r\nmlieko"_s, u"2026-12-08 10:00:00"_s,
                                      u"2026-12-08 10:00:00"_s, u"1"_s}}));
        QCOMPARE(
            FileBytes(u"data/Notes.ini"_s),
            QByteArray(
                "mojepoznamky\r\nMoje pozn\xE1mky\r\nwhere viditelnost=1\r\nORDER BY id\r\n\r\n"));
        // The window shows the note when it is active again.
        QTRY_COMPARE(n.captions(), QStringList{u"Nakup"_s});
        QCOMPARE(n.status(), u"Počet záznamov: 1 Počet skupín: 1"_s);
        QVERIFY(n.action("upravit")->isEnabled());
    }

    void subjectIsRequiredAndEscapeCancels() {
        TempHome home;
        Notes n;
        Tformzaznampoznamky* e = n.open("novymenu");
        e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->setPlainText(u"telo"_s);
        e->ulozitClick();
        QCOMPARE(n.t.dialogs.boxes.size(), 1);
        QCOMPARE(n.t.dialogs.boxes[0].caption, u"Upozornenie!"_s);
        QCOMPARE(n.t.dialogs.boxes[0].text,
                 u"Nebol zadaný predmet. Tento údaj je povinný, vyplňte ho!"_s);
        QCOMPARE(Notes::editor(), e);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"telo"_s);
        QVERIFY(WaitForFocus(e));
        QTest::keyClick(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s), Qt::Key_Escape);
        QTRY_VERIFY(!Notes::editor());
        QCOMPARE(rows(u"SELECT COUNT(*) FROM mojepoznamky"_s), QList<QStringList>{{u"0"_s}});
        QVERIFY(!QFile::exists(u"data/Notes.ini"_s));
    }

    void textsAreStoredExactly_data() {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::newRow("column names") << u"datum"_s << u"obsah"_s;
        QTest::newRow("quotes") << u"\"citát\" a 'iný'"_s << u"\"\"'';"_s;
        QTest::newRow("blanks only") << u"   "_s << QString();
        QTest::newRow("line breaks") << u"a"_s << u"1\n2\n\n3"_s;
        QString megabyte;
        while (megabyte.size() < (1 << 20))
            megabyte += QString(79, u'ž') + u'\n';
        QTest::newRow("1 MB body") << u"veľká"_s << megabyte;
    }
    void textsAreStoredExactly() {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        TempHome home;
        Notes n;
        n.write(subject, body);
        const QString stored = QString(body).replace(u"\n"_s, u"\r\n"_s);
        QCOMPARE(rows(u"SELECT predmet, obsah FROM mojepoznamky"_s),
                 (QList<QStringList>{{subject, stored}}));
        // Changed through the editor with the same texts, they stay the same.
        n.t.clock.advanceSeconds(90);
        Tformzaznampoznamky* e = n.open("upravit");
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(), subject);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), body);
        e->ulozitClick();
        QCOMPARE(rows(u"SELECT predmet, obsah, datum, datumzmeny FROM mojepoznamky"_s),
                 (QList<QStringList>{
                     {subject, stored, u"2026-12-08 10:00:00"_s, u"2026-12-08 10:01:30"_s}}));
    }

    void readOnlyView() {
        TempHome home;
        Notes n;
        n.write(u"Zubár"_s, u"utorok"_s);
        n.t.clock.advanceSeconds(3600);
        n.open("upravit")->ulozitClick();
        n.backToWindow();
        QTest::keyClick(n.list(), Qt::Key_Return);
        Tformzaznampoznamky* e = Notes::editor();
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), u"Zubár"_s);
        QVERIFY(e->findChild<QPushButton*>(u"ulozit"_s)->isHidden());
        QVERIFY(e->findChild<QLabel*>(u"predmetvyzva"_s)->isHidden());
        QCOMPARE(e->findChild<QPushButton*>(u"zrusit"_s)->text(), u"Zatvoriť"_s);
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(),
                 u"uložené 08 december 2026 10:00, zmenené 08 december 2026 11:00"_s);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"utorok"_s);
        // Enter in the subject of a view saves nothing.
        QTest::keyClick(e->findChild<QLineEdit*>(u"predmetvstup"_s), Qt::Key_Return);
        QCOMPARE(rows(u"SELECT datumzmeny FROM mojepoznamky"_s)[0][0], u"2026-12-08 11:00:00"_s);
    }

    void deleteAndRestore() {
        TempHome home;
        Notes n;
        n.write(u"prvá"_s);
        n.write(u"druhá"_s);
        n.list()->setCurrentIndex(n.list()->model()->index(1, 0));
        n.t.dialogs.answers = {IDialogs::Answer::No};
        n.command("vymazat");
        QCOMPARE(n.t.dialogs.boxes.last().caption, u"Potvrdenie odstránenia záznamu"_s);
        QCOMPARE(n.t.dialogs.boxes.last().text, u"Naozaj chcete odstrániť záznam?"_s);
        QCOMPARE(n.captions(), (QStringList{u"prvá"_s, u"druhá"_s}));
        QCOMPARE(n.list()->currentIndex().row(), 0); // refreshed all the same
        n.list()->setCurrentIndex(n.list()->model()->index(1, 0));
        n.t.dialogs.answers = {IDialogs::Answer::Yes};
        n.command("vymazat");
        QCOMPARE(n.captions(), QStringList{u"prvá"_s});
        QCOMPARE(rows(u"SELECT predmet, viditelnost FROM mojepoznamky ORDER BY id"_s),
                 (QList<QStringList>{{u"prvá"_s, u"1"_s}, {u"druhá"_s, u"0"_s}}));

        // Restore touches only the current group.
        TSQLiteDatabase db(kNotes);
        db.Execute(GroupTableDefinition(u"ina"_s, QString::fromUtf16(Schema::kNotesColumns)));
        db.Execute(u"INSERT INTO ina(predmet,viditelnost) VALUES('v koši',0)"_s);
        n.command("obnovit");
        QCOMPARE(n.captions(), (QStringList{u"prvá"_s, u"druhá"_s}));
        QCOMPARE(rows(u"SELECT viditelnost FROM ina"_s), QList<QStringList>{{u"0"_s}});
    }

    void exportLines() {
        TempHome home;
        Notes n;
        n.write(u"Nákup"_s, u"chlieb\nmaslo\nmlieko"_s);
        n.write(u"Zubár"_s);
        n.t.dialogs.fileNames = {QDir::current().filePath(u"export"_s)};
        n.command("export");
        QCOMPARE(n.t.dialogs.fileDialogTitles, QStringList{u"Export poznámok"_s});
        QCOMPARE(FileBytes(u"export.txt"_s),
                 QByteArray("2026-12-08 10:00:00\r\nN\xE1kup\r\nchlieb\r\nmaslo\r\nmlieko\r\n\r\n"
                            "2026-12-08 10:00:00\r\nZub\xE1r\r\n\r\n\r\n"));
        // Cancelled: nothing is written.
        n.command("export");
        QCOMPARE(QDir().entryList({u"*.txt"_s}), QStringList{u"export.txt"_s});
        // A folder that cannot be written: the error box, no file left behind.
        n.t.dialogs.fileNames = {u"missing/folder/out.txt"_s};
        n.command("export");
        QCOMPARE(n.t.dialogs.errors.size(), 1);
        QVERIFY(n.t.dialogs.errors[0].contains(u"missing/folder/out.txt"_s));
        QVERIFY(!QFileInfo::exists(u"missing"_s));
    }

    void sortBySubjectInByteOrder() {
        TempHome home;
        Notes n;
        for (const char16_t* subject : {u"Úloha", u"auto", u"Zebra", u"Auto"})
            n.write(QString::fromUtf16(subject));
        QCOMPARE(n.captions(), (QStringList{u"Úloha"_s, u"auto"_s, u"Zebra"_s, u"Auto"_s}));
        QVERIFY(!n.action("podlamena")->isChecked());
        n.command("podlamena");
        QCOMPARE(n.captions(), (QStringList{u"Auto"_s, u"Zebra"_s, u"auto"_s, u"Úloha"_s}));
        QVERIFY(n.action("podlamena")->isChecked());
        QVERIFY(!n.action("podlaid")->isChecked());
        n.command("opacne");
        QCOMPARE(n.captions(), (QStringList{u"Úloha"_s, u"auto"_s, u"Zebra"_s, u"Auto"_s}));
        QCOMPARE(n.t.context.modules.poznamky.direction, u" DESC"_s);
        n.command("podlaid");
        QCOMPARE(n.captions(), (QStringList{u"Auto"_s, u"Zebra"_s, u"auto"_s, u"Úloha"_s}));
        QVERIFY(n.action("podlaid")->isChecked() && !n.action("podlamena")->isChecked());
        n.window()->Ulozini();
        QCOMPARE(LineFile::read(u"data/Notes.ini"_s).mid(3),
                 (QStringList{u"ORDER BY id"_s, u" DESC"_s}));
    }

    void storedDescendingAndTheFirstToggle() {
        TempHome home;
        QDir().mkdir(u"data"_s);
        LineFile::write(u"data/Notes.ini"_s,
                        {u"mojepoznamky"_s, u"Moje poznámky"_s, u"where viditelnost=1"_s,
                         u"ORDER BY id"_s, u" DESC"_s});
        Notes n;
        QVERIFY(!n.action("opacne")->isChecked());
        n.command("opacne");
        QVERIFY(n.action("opacne")->isChecked());
        QCOMPARE(n.t.context.modules.poznamky.direction, u" DESC"_s);
        n.command("opacne");
        QVERIFY(!n.action("opacne")->isChecked());
        QCOMPARE(n.t.context.modules.poznamky.direction, QString());
    }

    void damagedViewFiles_data() {
        QTest::addColumn<QByteArray>("view");
        QTest::addColumn<QString>("error"); // start of the error text, or empty
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("two lines: binned notes listed too")
            << QByteArray("mojepoznamky\r\nMoje pozn\xE1mky\r\n") << QString()
            << QStringList{u"živá"_s, u"v koši"_s};
        QTest::newRow("no such table")
            << QByteArray("nie\r\nNie\r\nwhere viditelnost=1\r\nORDER BY id\r\n\r\n")
            << u"Error executing SQL \"SELECT id, predmet FROM \"nie\""_s << QStringList();
        QTest::newRow("garbage") << QByteArray("\x01\x02\xff\r\n\x81\r\nwhere ((\r\n\x00\x00\r\n",
                                               19)
                                 << u"Error executing SQL"_s << QStringList();
        QTest::newRow("damaged SQL pieces take their defaults")
            << QByteArray("mojepoznamky\r\nMoje\r\nwhere ((\r\nORDER BY x; DROP TABLE "
                          "tables\r\nDESC DESC\r\n")
            << QString() << QStringList{u"živá"_s};
        QTest::newRow("empty") << QByteArray() << u"Error executing SQL"_s << QStringList();
    }
    void damagedViewFiles() {
        QFETCH(QByteArray, view);
        QFETCH(QString, error);
        QFETCH(QStringList, listed);
        TempHome home;
        LineFile::write(TSettings::FileName, SettingsLines(TSettings()));
        QDir().mkdir(u"data"_s);
        DataModules modules;
        Vytvorsubory(modules, {u"a"_s, u"b"_s, u"c"_s, u"Moje poznámky"_s});
        TSQLiteDatabase(kNotes).Execute(
            u"INSERT INTO mojepoznamky(predmet,viditelnost) VALUES('živá',1),('v koši',0)"_s);
        WriteFileBytes(u"data/Notes.ini"_s, view);
        TestProgram p;
        QVERIFY(p.start());
        auto* notes = static_cast<TFormpoznamky*>(p.record(u"poznamky"_s));
        if (error.isEmpty()) {
            QVERIFY(p.t.dialogs.errors.isEmpty());
        } else {
            QVERIFY(!p.t.dialogs.errors.isEmpty());
            QVERIFY2(p.t.dialogs.errors[0].startsWith(error), qPrintable(p.t.dialogs.errors[0]));
        }
        QStringList captions;
        auto* list = notes->findChild<QTreeView*>(u"zoznam"_s);
        for (int row = 0; row < list->model()->rowCount(); ++row)
            captions.append(list->model()->index(row, 0).data().toString());
        QCOMPARE(captions, listed);
        if (listed.size() == 2) // the count is of visible records, whatever the filter lists
            QCOMPARE(notes->statusBar()->findChild<QLabel*>()->text(),
                     u"Počet záznamov: 1 Počet skupín: 1"_s);
        // The window stays usable: choosing a group brings it back to work.
        p.t.dialogs.errors.clear();
        notes->chooseGroup(1);
        notes->Aktualizuj();
        QVERIFY(p.t.dialogs.errors.isEmpty());
        QCOMPARE(rows(u"SELECT COUNT(*) FROM mojepoznamky"_s), QList<QStringList>{{u"2"_s}});
    }

    void saveIntoALockedFileKeepsTheText() {
        TempHome home;
        Notes n;
        Tformzaznampoznamky* e = n.open("novymenu");
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(u"dôležité"_s);
        e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->setPlainText(u"nestratiť"_s);
        sqlite3* other = nullptr;
        sqlite3_open("data/Notes.dbf", &other);
        sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        e->ulozitClick();
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(n.t.dialogs.errors.size(), 1);
        QVERIFY(n.t.dialogs.errors[0].endsWith(u": database is locked"_s));
        QCOMPARE(Notes::editor(), e);
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(), u"dôležité"_s);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"nestratiť"_s);
        e->ulozitClick();
        QCOMPARE(rows(u"SELECT predmet FROM mojepoznamky"_s), QList<QStringList>{{u"dôležité"_s}});
    }

    void createAndRenameGroups() {
        TempHome home;
        Notes n;
        n.command("novaskupina");
        auto* dialog = Notes::dialog<Tformskupina>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), u"Nová skupina"_s);
        QCOMPARE(dialog->findChild<QPushButton*>(u"vytvorit"_s)->text(), u"Vytvoriť skupinu"_s);
        dialog->vytvoritClick(); // empty caption
        QCOMPARE(n.t.dialogs.boxes.last().text,
                 u"Nebol zadaný názov skupiny. Tento údaj je povinný, vyplňte ho!"_s);
        QVERIFY(dialog->isVisible());
        dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->setText(u"Nákupy 2008"_s);
        QTest::keyClick(dialog->findChild<QLineEdit*>(u"skupinavstup"_s), Qt::Key_Return);
        QTRY_VERIFY(!Notes::dialogOpen<Tformskupina>());
        QCOMPARE(rows(u"SELECT nametable, captiontable, viditelnost FROM tables WHERE id=2"_s),
                 (QList<QStringList>{{u"Nakupy2008"_s, u"Nákupy 2008"_s, u"1"_s}}));
        QCOMPARE(
            rows(u"SELECT sql FROM sqlite_master WHERE name='Nakupy2008'"_s)[0][0],
            u"CREATE TABLE Nakupy2008([id] INTEGER PRIMARY KEY, [predmet] varchar(30),[obsah] text,"
            "[datum] datetime,[datumzmeny] datetime,[viditelnost] integer)"_s);
        QCOMPARE(LineFile::read(u"data/Notes.ini"_s).mid(0, 2),
                 (QStringList{u"Nakupy2008"_s, u"Nákupy 2008"_s}));
        n.backToWindow();
        QCOMPARE(n.window()->windowTitle(), u"Poznámky - Nákupy 2008"_s);
        QCOMPARE(n.status(), u"Počet záznamov: 0 Počet skupín: 2"_s);

        n.command("premenovatskupinu");
        dialog = Notes::dialog<Tformskupina>();
        QCOMPARE(dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->text(), u"Nákupy 2008"_s);
        QCOMPARE(dialog->findChild<QPushButton*>(u"vytvorit"_s)->text(), u"Zmeniť"_s);
        dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->setText(u"Nákupy \"2009\""_s);
        dialog->vytvoritClick();
        QCOMPARE(rows(u"SELECT nametable, captiontable FROM tables WHERE id=2"_s),
                 (QList<QStringList>{{u"Nakupy2008"_s, u"Nákupy \"2009\""_s}}));
        n.backToWindow();
        QCOMPARE(n.window()->windowTitle(), u"Poznámky - Nákupy \"2009\""_s);
    }

    void refusedGroupNames_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("error");
        QTest::newRow("same table name")
            << u"moje-poznámky"_s << u"table mojepoznamky already exists"_s;
        QTest::newRow("only removed characters") << u"( - )"_s << u"syntax error"_s;
        QTest::newRow("starts with a digit") << u"2008"_s << u"syntax error"_s;
        QTest::newRow("keyword") << u"Select"_s << u"syntax error"_s;
        QTest::newRow("the catalogue") << u"Tables"_s << u"table Tables already exists"_s;
        QTest::newRow("not a name") << u"a'b[c]"_s << u"gives no valid table name"_s;
        QTest::newRow("tab") << u"x\tAS\tSELECT\t1"_s << u"gives no valid table name"_s;
    }
    void refusedGroupNames() {
        QFETCH(QString, caption);
        QFETCH(QString, error);
        TempHome home;
        Notes n;
        const QList<QStringList> schema = rows(u"SELECT name FROM sqlite_master"_s);
        n.command("novaskupina");
        auto* dialog = Notes::dialog<Tformskupina>();
        dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->setText(caption);
        dialog->vytvoritClick();
        QCOMPARE(n.t.dialogs.errors.size(), 1);
        QVERIFY2(n.t.dialogs.errors[0].contains(error), qPrintable(n.t.dialogs.errors[0]));
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->text(), caption);
        QCOMPARE(rows(u"SELECT name FROM sqlite_master"_s), schema);
        QCOMPARE(rows(u"SELECT COUNT(*) FROM tables"_s), QList<QStringList>{{u"1"_s}});
        QCOMPARE(n.t.context.modules.poznamky.table, u"mojepoznamky"_s);
    }

    void captionsOfAnyTextAreKept() {
        TempHome home;
        Notes n;
        for (const char16_t* caption : {u"Práca \"doma\"", u"§Veci!", u"id"}) {
            n.window()->createGroup(QString::fromUtf16(caption));
            QCOMPARE(n.t.context.modules.poznamky.caption, QString::fromUtf16(caption));
        }
        QCOMPARE(rows(u"SELECT nametable, captiontable FROM tables WHERE id>1 ORDER BY id"_s),
                 (QList<QStringList>{{u"Pracadoma"_s, u"Práca \"doma\""_s},
                                     {u"Veci"_s, u"§Veci!"_s},
                                     {u"id"_s, u"id"_s}}));
    }

    void switchGroups() {
        TempHome home;
        Notes n;
        n.window()->createGroup(u"Dva"_s);
        n.window()->createGroup(u"Tri"_s);
        n.t.sound.played.clear();
        n.command("prepnut"); // from group 3 to group 1
        QCOMPARE(n.t.context.modules.poznamky.table, u"mojepoznamky"_s);
        QCOMPARE(n.t.sound.played, QStringList{u"sounds/beep.wav x1"_s});
        QCOMPARE(n.window()->windowTitle(), u"Poznámky - Moje poznámky"_s);
        TSQLiteDatabase(kNotes).Execute(u"UPDATE tables SET viditelnost=0 WHERE id=2"_s);
        n.command("prepnut"); // group 2 binned: from 1 to 3
        QCOMPARE(n.t.context.modules.poznamky.table, u"Tri"_s);
        TSQLiteDatabase(kNotes).Execute(u"UPDATE tables SET viditelnost=3 WHERE id=1"_s);
        n.t.sound.played.clear();
        n.command("prepnut"); // the only visible group: no change, no beep
        QCOMPARE(n.t.context.modules.poznamky.table, u"Tri"_s);
        QVERIFY(n.t.sound.played.isEmpty());
        // No visible group at all: one pass, and the window goes on.
        TSQLiteDatabase(kNotes).Execute(u"UPDATE tables SET viditelnost=0 WHERE id=3"_s);
        n.command("prepnut");
        QCOMPARE(n.t.context.modules.poznamky.table, u"Tri"_s);
        QCOMPARE(n.status(), u"Počet záznamov: 0 Počet skupín: 0"_s);
        QVERIFY(n.t.dialogs.errors.isEmpty());
    }

    void switchedGroupGivesWayToTheStoredOne() {
        TempHome home;
        Notes n;
        n.window()->createGroup(u"Dva"_s);
        n.window()->chooseGroup(1); // stored: the default group
        n.command("prepnut");
        QCOMPARE(n.window()->windowTitle(), u"Poznámky - Dva"_s);
        n.open("novymenu")->close();
        n.backToWindow();
        QCOMPARE(n.window()->windowTitle(), u"Poznámky - Moje poznámky"_s);
    }

    void binAndRestoreGroups() {
        TempHome home;
        Notes n;
        n.window()->createGroup(u"Dva"_s);
        n.write(u"poznámka v Dva"_s);
        n.t.dialogs.answers = {IDialogs::Answer::No};
        n.command("vymazatskupinu");
        QCOMPARE(n.t.dialogs.boxes.last().caption, u"Potvrdenie odstránenia skupiny"_s);
        QCOMPARE(n.t.dialogs.boxes.last().text, u"Naozaj chcete odstrániť skupinu Dva?"_s);
        QCOMPARE(rows(u"SELECT viditelnost FROM tables WHERE id=2"_s),
                 QList<QStringList>{{u"1"_s}});
        n.t.dialogs.answers = {IDialogs::Answer::Yes};
        n.command("vymazatskupinu");
        QCOMPARE(rows(u"SELECT viditelnost FROM tables WHERE id=2"_s),
                 QList<QStringList>{{u"0"_s}});
        QCOMPARE(n.window()->windowTitle(), u"Poznámky - Moje poznámky"_s);
        n.command("obnovitskupiny");
        QCOMPARE(rows(u"SELECT viditelnost FROM tables WHERE id=2"_s),
                 QList<QStringList>{{u"1"_s}});
        n.window()->chooseGroup(2);
        n.window()->Aktualizuj();
        QCOMPARE(n.captions(), QStringList{u"poznámka v Dva"_s});
    }

    void chooser() {
        TempHome home;
        Notes n;
        n.window()->createGroup(u"Dva"_s);
        n.window()->createGroup(u"Tri"_s);
        TSQLiteDatabase(kNotes).Execute(u"UPDATE tables SET viditelnost=0 WHERE id=2"_s);
        n.t.sound.played.clear();
        n.command("zobrazitskupiny");
        auto* chooser = Notes::dialog<Tformskupiny>();
        QVERIFY(chooser);
        QCOMPARE(chooser->windowTitle(), u"Vyberte skupinu"_s);
        auto* list = chooser->findChild<QTreeView*>(u"zoznam"_s);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->model()->index(0, 0).data().toString(), u"Moje poznámky"_s);
        QCOMPARE(list->model()->index(1, 0).data().toString(), u"Tri"_s);
        list->setCurrentIndex(list->model()->index(0, 0));
        chooser->okClick();
        QTRY_VERIFY(!Notes::dialogOpen<Tformskupiny>());
        QCOMPARE(n.t.sound.played, QStringList{u"sounds/beep.wav x1"_s});
        QCOMPARE(LineFile::read(u"data/Notes.ini"_s).first(), u"mojepoznamky"_s);

        // With every group in the bin the list is empty and OK does nothing.
        TSQLiteDatabase(kNotes).Execute(u"UPDATE tables SET viditelnost=0"_s);
        n.command("zobrazitskupiny");
        chooser = Notes::dialog<Tformskupiny>();
        QCOMPARE(chooser->findChild<QTreeView*>(u"zoznam"_s)->model()->rowCount(), 0);
        chooser->okClick();
        QVERIFY(chooser->isVisible());
        chooser->close();
    }

    void f12ClosesAllAndWritesTheViewFile() {
        TempHome home;
        Notes n;
        n.command("podlamena");
        QTest::keyClick(n.window(), Qt::Key_F12);
        QTRY_COMPARE(n.visibleWindows(), QStringList{u"velmorand"_s});
        QCOMPARE(LineFile::read(u"data/Notes.ini"_s).value(3), u"ORDER BY predmet"_s);
    }
};

VELMORAND_TEST_MAIN(TestNotes)
#include "tst_notes.moc"
