// The birthdays: the form beside the list, the ages, the three orders, and
// the notice of today's birthdays at start.
#include "birthdays/birthdaynotice.h"
#include "birthdays/formnarodky.h"
#include "context/menukeys.h"
#include "exchange/vcard.h"
#include "shell/settingsfile.h"
#include "storage/datafiles.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"data/Birth.dbf"_s;

// Puts people straight into the file: name, date of birth "yyyy-mm-dd" (or
// anything, for a damaged one), and whether they are in the bin.
void addPeople(const QList<std::tuple<QString, QString, int>>& people) {
    QDir().mkpath(u"data"_s);
    CreateDataFile(DataModules().narodky, QString());
    TSQLiteDatabase db(kFile);
    for (const auto& [name, born, visible] : people)
        db.Execute(u"INSERT INTO narodky(meno,poradie,narodenie,viditelnost) VALUES("_s +
                   SqlText(name) + u","_s + SqlText(u"2000"_s + born.mid(4) + u" 00:00:00"_s) +
                   u","_s + SqlText(born + u" 00:00:00"_s) + u","_s + QString::number(visible) +
                   u")"_s);
}

QList<QStringList> rows(const QString& sql) {
    return DbRows(kFile, sql);
}

// A started program on 8 December 2026 with the birthdays active.
struct Birthdays : TestProgram {
    explicit Birthdays(QDate today = QDate(2026, 12, 8)) {
        t.clock.current = QDateTime(today, QTime(10, 0), Qt::UTC);
        TSettings settings;
        settings.lastWindow = u"narodky"_s;
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        if (!start() || !WaitForFocus(window()))
            qFatal("the birthdays are not active");
    }
    Tformnarodky* window() const { return static_cast<Tformnarodky*>(record(u"narodky"_s)); }
    QAction* action(const char* name) const {
        return window()->findChild<QAction*>(QString::fromLatin1(name));
    }
    void command(const char* name) const { action(name)->trigger(); }
    QTreeView* list() const { return window()->findChild<QTreeView*>(u"zoznam"_s); }
    QLineEdit* name() const { return window()->findChild<QLineEdit*>(u"menovstup"_s); }
    QDateEdit* date() const { return window()->findChild<QDateEdit*>(u"DateTimePicker"_s); }
    QPushButton* ok() const { return window()->findChild<QPushButton*>(u"ok"_s); }
    QStringList captions() const { return ListCaptions(window()); }
    void select(int row) const { list()->setCurrentIndex(list()->model()->index(row, 0)); }
    // Fills the form and presses its button.
    void press(const QString& text, QDate born) const {
        name()->setText(text);
        date()->setDate(born);
        QTest::mouseClick(ok(), Qt::LeftButton);
    }
};

} // namespace

class TestBirthdays : public QObject {
    Q_OBJECT
private slots:
    // What the form stores, exactly as typed, and where the year places it.
    void storedThroughTheForm_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("born");
        QTest::addColumn<QString>("poradie");
        QTest::newRow("29 February") << u"Eva"_s << QDate(1980, 2, 29) << u"2000-02-29 00:00:00"_s;
        QTest::newRow("today") << u"Novorodenec"_s << QDate(2026, 12, 8)
                               << u"2000-12-08 00:00:00"_s;
        QTest::newRow("quotes") << u"Jozef \"Džony\" O'Brien"_s << QDate(1970, 1, 1)
                                << u"2000-01-01 00:00:00"_s;
        QTest::newRow("a column's name")
            << u"meno"_s << QDate(1999, 7, 31) << u"2000-07-31 00:00:00"_s;
        QTest::newRow("10,000 characters")
            << QString(10000, u'ž') << QDate(1950, 12, 25) << u"2000-12-25 00:00:00"_s;
    }
    void storedThroughTheForm() {
        QFETCH(QString, name);
        QFETCH(QDate, born);
        QFETCH(QString, poradie);
        TempHome home;
        Birthdays b;
        const int width = b.window()->width();
        b.press(name, born);
        QCOMPARE(b.t.dialogs.boxes.size(), 0);
        QCOMPARE(
            rows(u"SELECT meno, poradie, narodenie, viditelnost FROM narodky"_s),
            (QList<QStringList>{{name, poradie, born.toString(u"yyyy-MM-dd 00:00:00"_s), u"1"_s}}));
        QCOMPARE(b.captions().size(), 1);
        QVERIFY(b.captions()[0].startsWith(name + u" ("_s));
        QCOMPARE(b.window()->width(), width);
        QCOMPARE(b.name()->text(), QString());
        QCOMPARE(WithoutMenuKeys(b.ok()->text()), u" Pridať"_s);
    }

    // A refused press stores nothing and leaves the form and its mode alone.
    void refusedPresses_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("born");
        QTest::addColumn<QString>("text");
        QTest::newRow("tomorrow")
            << u"Ján"_s << QDate(2026, 12, 9)
            << u"Zadaný dátum je neplatný! Vkladajte iba dátumy z minulosti!"_s;
        QTest::newRow("no name") << QString() << QDate(1990, 5, 5)
                                 << u"Nebolo vložené žiadne meno. Tento údaj je povinný!"_s;
    }
    void refusedPresses() {
        QFETCH(QString, name);
        QFETCH(QDate, born);
        QFETCH(QString, text);
        TempHome home;
        addPeople({{u"Mária"_s, u"1960-03-03"_s, 1}});
        Birthdays b;
        b.select(0);
        b.command("upravit");
        QCOMPARE(WithoutMenuKeys(b.ok()->text()), u"Zmeniť"_s);
        b.press(name, born);
        QCOMPARE(b.t.dialogs.boxes.size(), 1);
        QCOMPARE(b.t.dialogs.boxes[0].caption, u"Upozornenie!"_s);
        QCOMPARE(b.t.dialogs.boxes[0].text, text);
        QCOMPARE(rows(u"SELECT meno, narodenie FROM narodky"_s),
                 (QList<QStringList>{{u"Mária"_s, u"1960-03-03 00:00:00"_s}}));
        QCOMPARE(b.name()->text(), name);
        QCOMPARE(b.date()->date(), born);
        QCOMPARE(WithoutMenuKeys(b.ok()->text()), u"Zmeniť"_s);
    }

    void ages_data() {
        QTest::addColumn<QString>("born");
        QTest::addColumn<QString>("caption");
        QTest::newRow("born today") << u"2026-12-08"_s << u"Osoba (0) - 08 december 2026"_s;
        QTest::newRow("birthday today") << u"1990-12-08"_s << u"Osoba (36) - 08 december 1990"_s;
        QTest::newRow("birthday tomorrow") << u"1990-12-09"_s << u"Osoba (35) - 09 december 1990"_s;
        QTest::newRow("birthday yesterday")
            << u"1990-12-07"_s << u"Osoba (36) - 07 december 1990"_s;
        QTest::newRow("a hundred today") << u"1926-12-08"_s << u"Osoba (100) - 08 december 1926"_s;
        QTest::newRow("a hundred tomorrow")
            << u"1926-12-09"_s << u"Osoba (99) - 09 december 1926"_s;
        QTest::newRow("damaged") << u"neviem kedy"_s
                                 << u"Osoba (?) - \u26A0 neviem kedy 00:00:00"_s;
        QTest::newRow("no such day")
            << u"1990-02-30"_s << u"Osoba (?) - \u26A0 1990-02-30 00:00:00"_s;
    }
    void ages() {
        QFETCH(QString, born);
        QFETCH(QString, caption);
        TempHome home;
        addPeople({{u"Osoba"_s, born, 1}});
        Birthdays b;
        QCOMPARE(b.captions(), QStringList{caption});
    }

    void ordersAndTheirViewFile() {
        TempHome home;
        addPeople({{u"Zuzana"_s, u"1990-01-03"_s, 1},
                   {u"Adam"_s, u"1950-12-25"_s, 1},
                   {u"Ľubo"_s, u"1970-06-01"_s, 1}});
        // A reversed order from an earlier run: the mark starts cleared anyway.
        LineFile::write(u"data/Birth.ini"_s, {u"ORDER BY narodenie"_s, u" DESC"_s});
        {
            Birthdays b;
            const auto names = [&] {
                QStringList first;
                for (const QString& c : b.captions())
                    first.append(c.section(u' ', 0, 0));
                return first;
            };
            QCOMPARE(names(), (QStringList{u"Zuzana"_s, u"Ľubo"_s, u"Adam"_s}));
            QVERIFY(!b.action("opacne")->isChecked());
            // The year order keeps the direction: 3 January after 25 December.
            b.command("podlaporadia");
            QCOMPARE(names(), (QStringList{u"Adam"_s, u"Ľubo"_s, u"Zuzana"_s}));
            QCOMPARE(LineFile::read(u"data/Birth.ini"_s),
                     (QStringList{u"ORDER BY poradie"_s, u" DESC"_s}));
            // The cleared mark set: reversed, as the list already is.
            b.command("opacne");
            QCOMPARE(names(), (QStringList{u"Adam"_s, u"Ľubo"_s, u"Zuzana"_s}));
            b.command("opacne");
            QCOMPARE(names(), (QStringList{u"Zuzana"_s, u"Ľubo"_s, u"Adam"_s}));
            b.command("podlanarodenia");
            QCOMPARE(names(), (QStringList{u"Adam"_s, u"Ľubo"_s, u"Zuzana"_s}));
            b.command("podlamena");
            QCOMPARE(names(), (QStringList{u"Adam"_s, u"Zuzana"_s, u"Ľubo"_s}));
            QCOMPARE(LineFile::read(u"data/Birth.ini"_s),
                     (QStringList{u"ORDER BY meno"_s, u" "_s}));
        }
        // A view file edited into a statement of its own is not run.
        LineFile::write(u"data/Birth.ini"_s,
                        {u"ORDER BY meno; DROP TABLE narodky"_s, u"; DELETE FROM narodky"_s});
        Birthdays b;
        QCOMPARE(b.captions().size(), 3);
        QCOMPARE(b.t.dialogs.errors, QStringList());
        QCOMPARE(rows(u"SELECT count(*) FROM narodky"_s), QList<QStringList>{{u"3"_s}});
    }

    // Ctrl+F narrows the list to the names whose words start so, accents
    // and case aside, in the list's order; the binned stay out; Esc brings
    // all back.
    void theFilter() {
        TempHome home;
        addPeople({{u"Ľubomír Novák"_s, u"1970-06-01"_s, 1},
                   {u"Anna Nováková"_s, u"1980-02-02"_s, 1},
                   {u"Peter Malý"_s, u"1990-03-03"_s, 1},
                   {u"Oto Novotný"_s, u"1960-01-01"_s, 0}});
        Birthdays b;
        const QStringList all = b.captions();
        QTest::keyClick(b.window(), Qt::Key_F, Qt::ControlModifier);
        auto* field = b.window()->findChild<QLineEdit*>(u"hladatvstup"_s);
        QTRY_VERIFY(field->hasFocus());
        const auto matching = [&all](const QStringList& names) {
            QStringList listed;
            for (const QString& caption : all)
                for (const QString& name : names)
                    if (caption.startsWith(name))
                        listed.append(caption);
            return listed;
        };
        QTest::keyClicks(field, u"NOVA"_s);
        QTRY_COMPARE(b.captions(), matching({u"Ľubomír"_s, u"Anna"_s}));
        QTest::keyClicks(field, u"k lubo"_s);
        QTRY_COMPARE(b.captions(), matching({u"Ľubomír"_s}));
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(b.captions(), all);
    }

    // The list goes out as cards another address book reads: each person's
    // name and date of birth, a binned one not.
    void exportAsVCards() {
        TempHome home;
        addPeople({{u"Ľubomír Novák"_s, u"1970-06-01"_s, 1},
                   {u"Anna"_s, u"1980-02-29"_s, 1},
                   {u"Oto"_s, u"1960-01-01"_s, 0}});
        Birthdays b;
        b.t.dialogs.fileNames = {QDir::current().filePath(u"narodeniny"_s)};
        b.command("exportvcard");
        QFile file(u"narodeniny.vcf"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        TVCardReader reader(file, TextEncoding::Utf8);
        QMap<QString, QDate> read;
        TCardContact card;
        while (reader.next(card))
            read.insert((card.fields[0] + u' ' + card.fields[1]).trimmed(), card.birthday);
        QCOMPARE(read, (QMap<QString, QDate>{{u"Ľubomír Novák"_s, QDate(1970, 6, 1)},
                                             {u"Anna"_s, QDate(1980, 2, 29)}}));
    }

    void changeAndLook() {
        TempHome home;
        addPeople({{u"Peter"_s, u"1980-04-04"_s, 1}});
        Birthdays b;
        b.select(0);
        b.command("upravit");
        QCOMPARE(b.name()->text(), u"Peter"_s);
        QCOMPARE(b.date()->date(), QDate(1980, 4, 4));
        // A refresh in the middle of the change keeps the loaded date: the
        // press stores the person's birth, not today.
        b.window()->Aktualizuj();
        QCOMPARE(b.date()->date(), QDate(1980, 4, 4));
        b.name()->setText(u"Peter Malý"_s);
        QTest::mouseClick(b.ok(), Qt::LeftButton);
        QCOMPARE(rows(u"SELECT meno, poradie, narodenie FROM narodky"_s),
                 (QList<QStringList>{
                     {u"Peter Malý"_s, u"2000-04-04 00:00:00"_s, u"1980-04-04 00:00:00"_s}}));
        QCOMPARE(WithoutMenuKeys(b.ok()->text()), u" Pridať"_s);

        // Enter in the list looks; the press then stores nothing.
        b.list()->setFocus();
        b.select(0);
        QTest::keyClick(b.list(), Qt::Key_Return);
        QCOMPARE(WithoutMenuKeys(b.ok()->text()), u"Vymazať formulár"_s);
        QCOMPARE(b.name()->text(), u"Peter Malý"_s);
        const QByteArray before = FileBytes(kFile);
        b.name()->setText(u"Niekto iný"_s);
        QTest::mouseClick(b.ok(), Qt::LeftButton);
        QCOMPARE(FileBytes(kFile), before);
        QCOMPARE(b.name()->text(), QString());
        QCOMPARE(b.date()->date(), QDate(2026, 12, 8));
        QCOMPARE(WithoutMenuKeys(b.ok()->text()), u" Pridať"_s);
    }

    void delInTheNameFieldDeletesTheSelected() {
        TempHome home;
        addPeople({{u"Ivan"_s, u"1985-08-08"_s, 1}});
        Birthdays b;
        b.select(0);
        b.name()->setFocus();
        b.name()->setText(u"rozpísané"_s);
        b.name()->setCursorPosition(0);
        b.t.dialogs.answers = {IDialogs::Answer::Yes};
        QTest::keyClick(b.name(), Qt::Key_Delete);
        QCOMPARE(b.t.dialogs.boxes.size(), 1);
        QCOMPARE(b.t.dialogs.boxes[0].text, u"Naozaj chcete odstrániť záznam?"_s);
        QCOMPARE(rows(u"SELECT viditelnost FROM narodky"_s), QList<QStringList>{{u"0"_s}});
        QCOMPARE(b.name()->text(), u"rozpísané"_s);
        QCOMPARE(b.window()->statusText(), u"Počet záznamov: 0"_s);
        QVERIFY(!b.action("vymazat")->isEnabled());
        // The bin empty again: restoring writes nothing to the file.
        b.command("obnovit");
        QCOMPARE(b.captions().size(), 1);
        const QByteArray before = FileBytes(kFile);
        b.command("obnovit");
        QCOMPARE(FileBytes(kFile), before);
    }

    void theFormOutlivesADatabaseError() {
        TempHome home;
        Birthdays b;
        TSQLiteDatabase(kFile).Execute(u"DROP TABLE narodky"_s);
        b.press(u"Karol"_s, QDate(1975, 10, 10));
        QCOMPARE(
            b.t.dialogs.errors,
            QStringList{u"V súbore data/Birth.dbf chýba časť, ktorú program potrebuje (skupina "
                        u"alebo tabuľka). Súbor mohol zmeniť iný program."_s});
        QCOMPARE(b.name()->text(), u"Karol"_s);
        QCOMPARE(b.date()->date(), QDate(1975, 10, 10));
        QCOMPARE(WithoutMenuKeys(b.ok()->text()), u" Pridať"_s);
    }

    // The window's command keys come before the name field's own: Del asks
    // to delete the selected person, Ctrl+U (which erases a line on X11)
    // puts the selected person into the form.
    void windowKeysComeBeforeTheFieldsOwn() {
        TempHome home;
        addPeople({{u"Anna"_s, u"1990-12-08"_s, 1}});
        Birthdays b;
        b.window()->Aktualizuj();
        b.select(0);
        b.name()->setFocus();
        b.name()->setText(u"Karol"_s);
        b.name()->setCursorPosition(0);
        QTest::keyClick(b.name(), Qt::Key_Delete);
        QCOMPARE(b.t.dialogs.boxes.last().text, u"Naozaj chcete odstrániť záznam?"_s);
        QCOMPARE(b.name()->text(), u"Karol"_s);
        QTest::keyClick(b.name(), Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(b.name()->text(), u"Anna"_s);
    }

    // The notice reads what it needs even where the file cannot be written
    // now (another program holds it), though it cannot make its index.
    void noticeOfAFileThatCannotBeWritten() {
        TempHome home;
        addPeople({{u"Anna"_s, u"1990-12-08"_s, 1}});
        sqlite3* other = nullptr;
        sqlite3_open("data/Birth.dbf", &other);
        sqlite3_exec(other, "DROP INDEX IF EXISTS narodky_poradie; BEGIN IMMEDIATE;", nullptr,
                     nullptr, nullptr);
        Birthdays b(QDate(2026, 12, 8));
        sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(b.t.dialogs.errors, QStringList());
        QCOMPARE(b.t.dialogs.boxes.value(0).text, u"Dnes má narodeniny Anna"_s);
    }

    // The notice at start names today's people in one box.
    void notice_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("text"); // empty: no box
        QTest::newRow("two, one in the bin")
            << QDate(2026, 12, 8) << u"Dnes majú narodeniny:\nAnna\nBoris \"Bobo\""_s;
        QTest::newRow("one") << QDate(2031, 12, 9) << u"Dnes má narodeniny Fero"_s;
        QTest::newRow("none") << QDate(2026, 12, 10) << QString();
        QTest::newRow("29 February on the 28th, common year")
            << QDate(2027, 2, 28) << u"Dnes majú narodeniny:\nCyril\nDana"_s;
        QTest::newRow("28th of a leap year") << QDate(2028, 2, 28) << u"Dnes má narodeniny Cyril"_s;
        QTest::newRow("29 February, leap year")
            << QDate(2028, 2, 29) << u"Dnes má narodeniny Dana"_s;
        QTest::newRow("1 March, common year") << QDate(2027, 3, 1) << u"Dnes má narodeniny Emil"_s;
    }
    void notice() {
        QFETCH(QDate, today);
        QFETCH(QString, text);
        TempHome home;
        addPeople({
            {u"Anna"_s, u"1990-12-08"_s, 1},
            {u"Boris \"Bobo\""_s, u"1930-12-08"_s, 1},
            {u"v koši"_s, u"1990-12-08"_s, 0},
            {u"Cyril"_s, u"2001-02-28"_s, 1},
            {u"Dana"_s, u"1996-02-29"_s, 1},
            {u"Emil"_s, u"1990-03-01"_s, 1},
            {u"Fero"_s, u"1990-12-09"_s, 1},
        });
        Birthdays b(today);
        QCOMPARE(b.t.dialogs.boxes.size(), text.isEmpty() ? 0 : 1);
        if (!text.isEmpty()) {
            QCOMPARE(b.t.dialogs.boxes[0].caption, u"Upozornenie!"_s);
            QCOMPARE(b.t.dialogs.boxes[0].text, text);
        }
        // Found through the index, without reading the whole table.
        QStringList plan;
        for (const QStringList& row :
             rows(u"EXPLAIN QUERY PLAN SELECT meno FROM narodky WHERE viditelnost=1 AND "
                  u"(poradie='2000-02-28 00:00:00' OR poradie='2000-02-29 00:00:00')"_s))
            plan.append(row.last());
        QVERIFY2(plan.join(u' ').contains(u"USING INDEX narodky_poradie"_s),
                 qPrintable(plan.join(u'\n')));
    }
};

VELMORAND_TEST_MAIN(TestBirthdays)
#include "tst_birthdays.moc"
