// The notes window and the record window pattern: list, editor, bin,
// export, sorting, groups, view file.
#include "context/menukeys.h"
#include "notes/formpoznamky.h"
#include "notes/formzaznampoznamky.h"
#include "records/groupdialogs.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QAction>
#include <QClipboard>
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
    QStringList captions() const { return ListCaptions(window()); }
    QString status() const { return window()->statusBar()->findChild<QLabel*>()->text(); }
    void backToWindow() { BackTo(window()); }
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
    static Tformzaznampoznamky* editor() { return OpenWindow<Tformzaznampoznamky>(); }
    // The open dialog of that kind, once it has the focus.
};

QList<QStringList> rows(const QString& sql) {
    return DbRows(kNotes, sql);
}

} // namespace

class TestNotes : public QObject {
    Q_OBJECT
private slots:
    void insertThroughTheEditor() {
        TempHome home;
        Notes n;
        QTest::keyClick(n.window(), Qt::Key_N, Qt::ControlModifier);
        Tformzaznampoznamky* e = Notes::editor();
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), u"Nový záznam"_s);
        QCOMPARE(WithoutMenuKeys(e->findChild<QPushButton*>(u"ulozit"_s)->text()), u"Uložiť"_s);
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
        // Esc with text typed asks first; the default answer keeps the text.
        QTest::keyClick(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s), Qt::Key_Escape);
        QCOMPARE(n.t.dialogs.boxes.size(), 2);
        QCOMPARE(n.t.dialogs.boxes[1].caption, u"Neuložené zmeny"_s);
        QCOMPARE(n.t.dialogs.boxes[1].text, u"Záznam bol zmenený. Chcete zmeny zahodiť?"_s);
        QCOMPARE(n.t.dialogs.boxes[1].buttons, IDialogs::Buttons::NoYes);
        QCOMPARE(Notes::editor(), e);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"telo"_s);
        n.t.dialogs.answers = {IDialogs::Answer::Yes};
        QTest::keyClick(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s), Qt::Key_Escape);
        QTRY_VERIFY(!Notes::editor());
        QCOMPARE(rows(u"SELECT COUNT(*) FROM mojepoznamky"_s), QList<QStringList>{{u"0"_s}});
        QVERIFY(!QFile::exists(u"data/Notes.ini"_s));
    }

    void closingAnEditorAsksOnlyAboutChangedText_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << u"esc"_s;
        QTest::newRow("cancel button") << u"zrusit"_s;
        QTest::newRow("close button") << u"close"_s;
    }
    void closingAnEditorAsksOnlyAboutChangedText() {
        QFETCH(QString, how);
        TempHome home;
        Notes n;
        n.write(u"Zubár"_s, u"utorok"_s);
        const auto closeEditor = [&](Tformzaznampoznamky* e) {
            if (how == u"esc")
                QTest::keyClick(e, Qt::Key_Escape);
            else if (how == u"zrusit")
                QTest::mouseClick(e->findChild<QPushButton*>(u"zrusit"_s), Qt::LeftButton);
            else
                e->close();
        };
        // Unchanged: it closes without a word.
        closeEditor(n.open("upravit"));
        QTRY_VERIFY(!Notes::editor());
        QVERIFY(n.t.dialogs.boxes.isEmpty());
        // Changed: the question, and No keeps the editor with its text.
        n.backToWindow();
        Tformzaznampoznamky* e = n.open("upravit");
        QTest::keyClicks(e->findChild<QLineEdit*>(u"predmetvstup"_s), u" v piatok"_s);
        closeEditor(e);
        QCOMPARE(n.t.dialogs.boxes.size(), 1);
        QCOMPARE(Notes::editor(), e);
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(), u"Zubár v piatok"_s);
        // Ctrl+S saves it.
        QTest::keyClick(e, Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!Notes::editor());
        QCOMPARE(rows(u"SELECT predmet FROM mojepoznamky"_s),
                 QList<QStringList>{{u"Zubár v piatok"_s}});
        QCOMPARE(n.t.dialogs.boxes.size(), 1);
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
        // Longer than a one-line field takes by default.
        QTest::newRow("40,000-character subject") << QString(40000, u'ž') << u"b"_s;
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

    void anEditedNoteStaysSelected() {
        TempHome home;
        Notes n;
        for (const char16_t* subject : {u"Banán", u"Citrón", u"Datle"})
            n.write(QString::fromUtf16(subject));
        n.command("podlamena");
        n.list()->setCurrentIndex(n.list()->model()->index(2, 0));
        Tformzaznampoznamky* e = n.open("upravit");
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(u"Ananás"_s);
        e->ulozitClick();
        n.backToWindow();
        QCOMPARE(n.captions(), (QStringList{u"Ananás"_s, u"Banán"_s, u"Citrón"_s}));
        QCOMPARE(n.list()->currentIndex().row(), 0);
        // So does a new one.
        n.write(u"Broskyňa"_s);
        QCOMPARE(n.list()->currentIndex().data().toString(), u"Broskyňa"_s);
    }

    void readOnlyView() {
        TempHome home;
        Notes n;
        n.write(u"Zubár"_s, u"utorok"_s);
        n.t.clock.advanceSeconds(3600);
        n.open("upravit")->ulozitClick();
        n.backToWindow();
        // The reading pane says the same.
        QCOMPARE(
            PaneText(n.window()),
            u"Zubár\nuložené 08 december 2026 10:00, zmenené 08 december 2026 11:00\nutorok"_s);
        QTest::keyClick(n.list(), Qt::Key_Return);
        Tformzaznampoznamky* e = Notes::editor();
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), u"Zubár"_s);
        QVERIFY(e->findChild<QPushButton*>(u"ulozit"_s)->isHidden());
        QVERIFY(e->findChild<QLabel*>(u"predmetvyzva"_s)->isHidden());
        QCOMPARE(WithoutMenuKeys(e->findChild<QPushButton*>(u"zrusit"_s)->text()), u"Zatvoriť"_s);
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(),
                 u"uložené 08 december 2026 10:00, zmenené 08 december 2026 11:00"_s);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"utorok"_s);
        // Nothing can be typed where nothing can be saved; it can be read and copied.
        QVERIFY(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->isReadOnly());
        QVERIFY(e->findChild<QLineEdit*>(u"predmetvstup"_s)->isReadOnly());
        // Enter in the subject of a view saves nothing.
        QTest::keyClick(e->findChild<QLineEdit*>(u"predmetvstup"_s), Qt::Key_Return);
        QCOMPARE(rows(u"SELECT datumzmeny FROM mojepoznamky"_s)[0][0], u"2026-12-08 11:00:00"_s);
    }

    // The pane shows a note's lines as the editor does, and of a large note
    // as much as it lays out in a moment; the editor shows it whole.
    void thePaneShowsTheText_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("lines"); // the text as lines
        QTest::addColumn<bool>("whole");
        QTest::newRow("three kinds of line breaks") << u"a\r\nb\rc\nd"_s << u"a\nb\nc\nd"_s << true;
        QTest::newRow("1 MB on one line")
            << QString(1 << 20, u'ž') << QString(1 << 20, u'ž') << false;
        QTest::newRow("1 MB in lines")
            << u"riadok\r\n"_s.repeated(1 << 17) << u"riadok\n"_s.repeated(1 << 17) << false;
    }
    void thePaneShowsTheText() {
        QFETCH(QString, stored);
        QFETCH(QString, lines);
        QFETCH(bool, whole);
        TempHome home;
        Notes n;
        {
            TSQLiteDatabase db(kNotes);
            db.Execute(u"INSERT INTO mojepoznamky(predmet,obsah,datum,datumzmeny,viditelnost) "
                       u"VALUES('Veľa',?1,'2026-12-08 10:00:00','2026-12-08 10:00:00',1)"_s,
                       {stored});
        }
        n.window()->Aktualizuj();
        const QString shown = PaneText(n.window()).section(u'\n', 2);
        if (whole) {
            QCOMPARE(shown, lines);
        } else {
            // Its first 200,000 characters, and a mark that there is more.
            QVERIFY(shown.size() > 199'000 && shown.size() <= 200'001);
            QVERIFY(shown.endsWith(u'…'));
            QVERIFY(lines.startsWith(shown.chopped(1)));
        }
        QTest::keyClick(n.list(), Qt::Key_Return);
        QVERIFY(Notes::editor());
        QCOMPARE(Notes::editor()->form().text(u"obsah"_s), stored);
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
    }

    void aNoteIsInsertedOnceWhenItsViewFileFails() {
        TempHome home;
        Notes n;
        QDir().mkpath(u"data/Notes.ini"_s); // the view file cannot be written
        Tformzaznampoznamky* e = n.open("novymenu");
        e->findChild<QLineEdit*>(u"predmetvstup"_s)->setText(u"raz"_s);
        e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->setPlainText(u"telo"_s);
        e->ulozitClick();
        QCOMPARE(n.t.dialogs.errors.size(), 1);
        QVERIFY2(n.t.dialogs.errors[0].contains(u"data/Notes.ini"_s),
                 qPrintable(n.t.dialogs.errors[0]));
        QCOMPARE(Notes::editor(), e);
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(), u"raz"_s);
        QVERIFY(QDir().rmdir(u"data/Notes.ini"_s));
        e->ulozitClick();
        QTRY_VERIFY(!Notes::editor());
        QCOMPARE(rows(u"SELECT predmet, obsah FROM mojepoznamky"_s),
                 (QList<QStringList>{{u"raz"_s, u"telo"_s}}));
        QVERIFY(FileBytes(u"data/Notes.ini"_s).startsWith("mojepoznamky\r\n"));
    }

    void untouchedTextIsWrittenBackAsItWas() {
        TempHome home;
        Notes n;
        // Non-breaking spaces, a lone CR, a lone LF and CR LF, as another
        // program may have stored them.
        const QString subject = u"a\u00A0b"_s;
        const QString body = u"p\u00A0q\rr\ns\r\nt"_s;
        TSQLiteDatabase(kNotes).Execute(
            u"INSERT INTO mojepoznamky(predmet,obsah,datum,datumzmeny,viditelnost) "
            "VALUES(%1,%2,'2026-12-08 10:00:00','2026-12-08 10:00:00',1)"_s.arg(SqlText(subject),
                                                                                SqlText(body)));
        n.window()->Aktualizuj();
        n.open("upravit")->ulozitClick();
        QCOMPARE(rows(u"SELECT predmet, obsah FROM mojepoznamky"_s),
                 (QList<QStringList>{{subject, body}}));
        // Only what is typed is converted: a new line becomes CR LF.
        n.backToWindow();
        Tformzaznampoznamky* e = n.open("upravit");
        auto* edit = e->findChild<QPlainTextEdit*>(u"obsahvstup"_s);
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, u"X"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, u"Y"_s);
        e->ulozitClick();
        QCOMPARE(rows(u"SELECT predmet, obsah FROM mojepoznamky"_s),
                 (QList<QStringList>{{subject, body + u"X\r\nY"_s}}));
    }

    void pastedLineBreaksBecomeBlanks() {
        TempHome home;
        Notes n;
        Tformzaznampoznamky* e = n.open("novymenu");
        auto* subject = e->findChild<QLineEdit*>(u"predmetvstup"_s);
        QGuiApplication::clipboard()->setText(u"Line1\nLine2\r\nLine3"_s);
        subject->setFocus();
        QTest::keySequence(subject, QKeySequence::Paste);
        QCOMPARE(subject->text(), u"Line1 Line2 Line3"_s);
        e->ulozitClick();
        QCOMPARE(rows(u"SELECT predmet FROM mojepoznamky"_s),
                 QList<QStringList>{{u"Line1 Line2 Line3"_s}});
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
        // A group that the catalogue does not list gives way to the default group.
        QTest::newRow("no such group")
            << QByteArray("nie\r\nNie\r\nwhere viditelnost=1\r\nORDER BY id\r\n\r\n") << QString()
            << QStringList{u"živá"_s};
        QTest::newRow("a pattern as the group")
            << QByteArray("%\r\nVsetky\r\n") << QString() << QStringList{u"živá"_s, u"v koši"_s};
        QTest::newRow("garbage") << QByteArray("\x01\x02\xff\r\n\x81\r\nwhere ((\r\n\x00\x00\r\n",
                                               19)
                                 << QString() << QStringList{u"živá"_s};
        // A listed group whose table is missing is the database's error.
        QTest::newRow("a listed group without its table")
            << QByteArray("chyba\r\nChyba\r\nwhere viditelnost=1\r\nORDER BY id\r\n\r\n")
            << u"V súbore data/Notes.dbf chýba časť, ktorú program potrebuje"_s << QStringList();
        QTest::newRow("damaged SQL pieces take their defaults")
            << QByteArray("mojepoznamky\r\nMoje\r\nwhere ((\r\nORDER BY x; DROP TABLE "
                          "tables\r\nDESC DESC\r\n")
            << QString() << QStringList{u"živá"_s};
        QTest::newRow("empty") << QByteArray() << QString() << QStringList{u"živá"_s, u"v koši"_s};
    }
    void damagedViewFiles() {
        QFETCH(QByteArray, view);
        QFETCH(QString, error);
        QFETCH(QStringList, listed);
        TempHome home;
        LineFile::write(TSettings::FileName, SettingsLines(TSettings()));
        QDir().mkdir(u"data"_s);
        CreateDataFile(DataModules().poznamky, u"Moje poznámky"_s);
        TSQLiteDatabase(kNotes).Execute(
            u"INSERT INTO mojepoznamky(predmet,viditelnost) VALUES('živá',1),('v koši',0)"_s);
        TSQLiteDatabase(kNotes).Execute(
            u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('chyba','Chyba',1)"_s);
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
                     u"Počet záznamov: 1 Počet skupín: 2"_s);
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
        QCOMPARE(n.t.dialogs.errors[0],
                 u"Súbor data/Notes.dbf práve používa iný program. Skúste to znova o chvíľu."_s);
        QCOMPARE(Notes::editor(), e);
        QCOMPARE(e->findChild<QLineEdit*>(u"predmetvstup"_s)->text(), u"dôležité"_s);
        QCOMPARE(e->findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"nestratiť"_s);
        e->ulozitClick();
        QCOMPARE(rows(u"SELECT predmet FROM mojepoznamky"_s), QList<QStringList>{{u"dôležité"_s}});
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
