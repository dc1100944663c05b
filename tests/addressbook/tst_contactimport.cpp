// The address book's import and export: the line rules, the column map,
// the encodings, all or nothing, and the export's table of values.
#include "addressbook/addressbookview.h"
#include "addressbook/contactfields.h"
#include "addressbook/contactimport.h"
#include "addressbook/formadresar.h"
#include "addressbook/formnastavinport.h"
#include "addressbook/tablecolumns.h"
#include "context/guard.h"
#include "shell/binandwipe.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStringEncoder>
#include <QTreeView>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"data/Addressbook.dbf"_s;

QList<QStringList> rows(const QString& sql) {
    return DbRows(kFile, sql);
}

QStringList readLines(const QByteArray& bytes) {
    WriteFileBytes(u"lines.txt"_s, bytes);
    QFile file(u"lines.txt"_s);
    file.open(QIODevice::ReadOnly);
    TLineReader reader(file);
    QStringList lines;
    QByteArrayView line;
    while (reader.next(line))
        lines.append(QString::fromLatin1(line));
    return lines;
}

// A started program with the address book active, past its first-run notice.
struct AddressBook : TestProgram {
    AddressBook() {
        TSettings settings;
        settings.lastWindow = u"adresar"_s;
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        TAddressBookOptions options;
        options.firstRun = 1;
        QDir().mkpath(u"data"_s);
        TModuleState view = t.context.modules.adresar;
        view.caption = u"Moje kontakty"_s;
        LineFile::write(view.view, AddressBookViewLines(view, options));
        if (!start() || !WaitForFocus(window()))
            qFatal("the address book is not active");
        t.dialogs.boxes.clear();
    }
    TFormadresar* window() const { return static_cast<TFormadresar*>(record(u"adresar"_s)); }
    // Chooses the file with the command of a separator; the configuration
    // dialog is then open.
    Tformnastavinport* choose(const QByteArray& bytes, const char* command = "bodkociarka") {
        WriteFileBytes(u"kontakty.txt"_s, bytes);
        t.dialogs.fileNames = {QDir::current().filePath(u"kontakty.txt"_s)};
        Trigger(window(), command);
        return OpenWindow<Tformnastavinport>();
    }
    // OK in the configuration, and the import's end.
    void run(Tformnastavinport* d, bool skipHeader) {
        d->findChild<QCheckBox*>(u"preskocit"_s)->setChecked(skipHeader);
        d->okClick();
        QTRY_VERIFY_WITH_TIMEOUT(!window()->runningImport(), 20000);
    }
    QString lastBox() const {
        return t.dialogs.boxes.isEmpty() ? QString() : t.dialogs.boxes.last().text;
    }
};

QList<QStringList> names() {
    return rows(u"SELECT meno, priezvisko, ulica, psc FROM mojekontakty ORDER BY id"_s);
}

} // namespace

class TestContactImport : public QObject {
    Q_OBJECT
private slots:
    void splitting_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QStringList>("values"); // columns 1.. after cleaning
        QTest::newRow("blanks after commas")
            << QByteArray("a, b,  c") << ',' << QStringList{u"a"_s, u"b"_s, u" c"_s};
        QTest::newRow("one blank is empty")
            << QByteArray("a ; ;  ; d") << ';' << QStringList{u"a "_s, u""_s, u" "_s, u"d"_s};
        QTest::newRow("quotes mean nothing")
            << QByteArray("\"x;y\";z") << ';' << QStringList{u"\"x"_s, u"y\""_s, u"z"_s};
        QTest::newRow("tab") << QByteArray("a\tb c\t") << '\t'
                             << QStringList{u"a"_s, u"b c"_s, u""_s};
        QTest::newRow("empty line") << QByteArray() << ';' << QStringList{u""_s};
    }
    void splitting() {
        QFETCH(QByteArray, line);
        QFETCH(char, separator);
        QFETCH(QStringList, values);
        QList<QByteArrayView> columns{"left over", "from before"};
        SplitImportLine(line, separator, columns);
        QCOMPARE(columns.first(), QByteArrayView());
        QStringList cleaned;
        for (qsizetype c = 1; c < columns.size(); ++c)
            cleaned.append(QString::fromLatin1(CleanImportValue(columns[c])));
        QCOMPARE(cleaned, values);
    }

    void aHundredColumnsAtMost() {
        QByteArray line;
        for (int c = 1; c <= 150; ++c)
            line += QByteArray::number(c) + ';';
        QList<QByteArrayView> columns;
        SplitImportLine(line, ';', columns);
        QCOMPARE(columns.size(), kImportColumns + 1);
        QCOMPARE(columns.last(), QByteArrayView("100"));
    }

    void lineEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("LF") << QByteArray("a\nb") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("empty lines")
            << QByteArray("a\r\n\r\n\nb") << QStringList{u"a"_s, u""_s, u""_s, u"b"_s};
        // CR LF split by the reader's 64 KiB pieces: still one line end.
        QByteArray across(65535, 'x');
        across += "\r\nb\r";
        QTest::newRow("CR LF across pieces") << across << QStringList{QString(65535, u'x'), u"b"_s};
        QTest::newRow("one long line")
            << QByteArray(300000, 'y') << QStringList{QString(300000, u'y')};
    }
    void lineEnds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        TempHome home;
        QCOMPARE(readLines(bytes), lines);
    }

    void encodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        const QString lines = u"Ľubomír;Šťastný\r\nĽubomír;Šťastný"_s;
        QTest::newRow("UTF-8") << lines.toUtf8() << TextEncoding::Utf8;
        QTest::newRow("UTF-8 with its mark")
            << "\xEF\xBB\xBF" + lines.toUtf8() << TextEncoding::Utf8;
        QTest::newRow("Windows-1250") << Cp1250::encode(lines) << TextEncoding::Cp1250;
        QStringEncoder little(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QStringEncoder big(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("UTF-16 LE with its mark")
            << QByteArray(little.encode(lines)) << TextEncoding::Utf16LE;
        QTest::newRow("UTF-16 BE with its mark")
            << QByteArray(big.encode(lines)) << TextEncoding::Utf16BE;
    }
    void encodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        TempHome home;
        AddressBook a;
        a.run(a.choose(bytes), true);
        QCOMPARE(a.window()->importState().encoding, encoding);
        QCOMPARE(names(), (QList<QStringList>{{u"Ľubomír"_s, u"Šťastný"_s, QString(), QString()}}));
    }

    // The file with a header line: skipped or imported, the third column
    // to the street, or past an empty field (Space on row 2) to the postcode.
    void importHeaderAndMap_data() {
        QTest::addColumn<bool>("skip");
        QTest::addColumn<bool>("space");
        QTest::addColumn<QList<QStringList>>("contacts");
        const QStringList jan{u"Ján"_s, u"Novák"_s, u"0900"_s, QString()};
        const QStringList eva{u"Eva"_s, u"Malá"_s, QString(), QString()};
        QTest::newRow("header skipped") << true << false << QList<QStringList>{jan, eva};
        QTest::newRow("header imported")
            << false << false
            << QList<QStringList>{{u"Meno"_s, u"Priezvisko"_s, u"Telefón"_s, QString()}, jan, eva};
        QTest::newRow("space on row 2")
            << true << true
            << QList<QStringList>{{u"Ján"_s, u"Novák"_s, QString(), u"0900"_s}, eva};
    }
    void importHeaderAndMap() {
        QFETCH(bool, skip);
        QFETCH(bool, space);
        QFETCH(QList<QStringList>, contacts);
        TempHome home;
        AddressBook a;
        Tformnastavinport* d = a.choose(
            Cp1250::encode(u"Meno;Priezvisko;Telefón\r\nJán;Novák;0900\r\nEva;Malá\r\n"_s));
        QVERIFY(d);
        auto* volby = d->findChild<QListWidget*>(u"volby"_s);
        QCOMPARE(volby->item(2)->text(), u"Ulica = Telefón"_s);
        if (space) {
            volby->setCurrentRow(2);
            a.t.sound.played.clear();
            QTest::keyClick(volby, Qt::Key_Space);
            QCOMPARE(a.t.sound.played, QStringList{u"sounds/beep.wav x1"_s});
            QCOMPARE(volby->item(2)->text(), u"Ulica = "_s);
            QCOMPARE(volby->item(3)->text(), u"PSČ = Telefón"_s);
        }
        // The closing box stands over the list of what was stored.
        qsizetype listedUnderTheBox = -1;
        a.t.dialogs.onBox = [&](const FakeDialogs::Box&) {
            listedUnderTheBox = ListCaptions(a.window()).size();
        };
        a.run(d, skip);
        QCOMPARE(names(), contacts);
        QCOMPARE(a.lastBox(), u"Inport bol úspešne dokončený. Počet inportovaných záznamov: "_s +
                                  QString::number(contacts.size()));
        QCOMPARE(listedUnderTheBox, contacts.size());
    }

    void mapKeys() {
        TImportState state;
        state.columnCount = 3;
        state.resetMap();
        QVERIFY(!state.Posunhore());
        state.selected = 2;
        QVERIFY(!state.Posundole()); // not below the last column
        QVERIFY(state.Posunhore());
        QCOMPARE(state.selected, 1);
        QCOMPARE((std::vector<int>(state.map.begin(), state.map.begin() + 4)),
                 (std::vector<int>{1, 3, 2, 0}));
        QVERIFY(state.Pridajpole());
        QCOMPARE((std::vector<int>(state.map.begin(), state.map.begin() + 5)),
                 (std::vector<int>{1, 0, 3, 2, 0}));
        QCOMPARE(state.columnCount, 4);
        // No more than a hundred positions.
        state.columnCount = kImportColumns;
        QVERIFY(!state.Pridajpole());
    }

    void tabsEmptyLinesAndShortLines() {
        TempHome home;
        AddressBook a;
        a.run(a.choose("Meno\tPriezvisko\tUlica\tPSC\r\n\r\nIvan\tTichy\r\n", "tabulator"), true);
        QCOMPARE(names(), (QList<QStringList>{{QString(), QString(), QString(), QString()},
                                              {u"Ivan"_s, u"Tichy"_s, QString(), QString()}}));
        QCOMPARE(rows(u"SELECT count(*) FROM mojekontakty WHERE viditelnost=1"_s),
                 QList<QStringList>{{u"2"_s}});
    }

    // Nothing of a file goes in unless all of it does. The import holds the
    // file from its start, so another program's lock stops it at the start.
    void allOrNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("a failing line") << u"line"_s;
        QTest::newRow("the file locked at the start") << u"lock"_s;
        QTest::newRow("cancelled") << u"cancel"_s;
    }
    void allOrNothing() {
        QFETCH(QString, how);
        TempHome home;
        AddressBook a;
        TSQLiteDatabase(kFile).Execute(u"INSERT INTO mojekontakty(meno,priezvisko,viditelnost) "
                                       u"VALUES('Stará','Známa',1)"_s);
        if (how == u"line")
            TSQLiteDatabase(kFile).Execute(
                u"CREATE TRIGGER zly BEFORE INSERT ON mojekontakty WHEN NEW.meno='zlý' "
                u"BEGIN SELECT RAISE(ABORT, 'no'); END"_s);
        QByteArray file;
        for (int i = 0; i < 3000; ++i)
            file += i == 2500 ? Cp1250::encode(u"zlý;x\r\n"_s)
                              : "Meno" + QByteArray::number(i) + ";X\r\n";
        Tformnastavinport* d = a.choose(file);
        sqlite3* other = nullptr;
        if (how == u"lock") {
            sqlite3_open("data/Addressbook.dbf", &other);
            sqlite3_exec(other, "BEGIN; SELECT count(*) FROM mojekontakty;", nullptr, nullptr,
                         nullptr);
        }
        d->findChild<QCheckBox*>(u"preskocit"_s)->setChecked(false);
        d->okClick();
        if (how != u"lock") {
            QVERIFY(a.window()->runningImport());
            // A second import waits for the first.
            a.t.dialogs.fileNames = {u"kontakty.txt"_s};
            Trigger(a.window(), "ciarka");
            QCOMPARE(a.lastBox(), u"Inport ešte prebieha. Počkajte, kým sa skončí."_s);
        }
        if (how == u"cancel")
            a.window()->runningImport()->cancel();
        QTRY_VERIFY_WITH_TIMEOUT(!a.window()->runningImport(), 20000);
        if (other) {
            sqlite3_exec(other, "COMMIT;", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        }
        QCOMPARE(rows(u"SELECT meno FROM mojekontakty"_s), QList<QStringList>{{u"Stará"_s}});
        if (how == u"cancel") {
            QCOMPARE(a.lastBox(), u"Inport bol zrušený. Nič nebolo inportované."_s);
        } else {
            QCOMPARE(a.t.dialogs.errors.size(), 1);
            const QString& error = a.t.dialogs.errors[0];
            if (how == u"line") {
                QVERIFY2(error.contains(u"riadku 2501: "_s), qPrintable(error));
                QVERIFY(error.endsWith(u"Nič nebolo inportované."_s));
            } else {
                QVERIFY2(error.contains(u"práve používa iný program"_s), qPrintable(error));
            }
        }
    }

    void badFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("contacts");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("5 MB on one line") << QByteArray(5 << 20, 'a') << 1;
        QByteArray wide;
        for (int c = 0; c < 150; ++c)
            wide += "v;";
        QTest::newRow("150 columns") << wide << 1;
    }
    void badFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, contacts);
        TempHome home;
        AddressBook a;
        Tformnastavinport* d = a.choose(bytes);
        QVERIFY(d);
        QVERIFY(d->findChild<QListWidget*>(u"volby"_s)->item(0)->text().size() < 300);
        a.run(d, false);
        QCOMPARE(a.t.dialogs.errors, QStringList());
        QCOMPARE(rows(u"SELECT count(*) FROM mojekontakty"_s),
                 QList<QStringList>{{QString::number(contacts)}});
    }

    // The open dialog offers text files, CSV files (any case) and all
    // files; a CSV file with its mark imports as any other, and the values
    // that held characters the files cannot hold are counted.
    void aCsvFile() {
        TempHome home;
        AddressBook a;
        WriteFileBytes(u"Kontakty.CSV"_s,
                       "\xEF\xBB\xBF" + u"Ján;Novák\r\n日本;Łódź 😀\r\n"_s.toUtf8());
        a.t.dialogs.fileNames = {QDir::current().filePath(u"Kontakty.CSV"_s)};
        Trigger(a.window(), "bodkociarka");
        QCOMPARE(
            a.t.dialogs.fileDialogFilters,
            QStringList{u"textové súbory (*.txt);;súbory CSV (*.csv *.CSV);;všetky súbory (*)"_s});
        a.run(OpenWindow<Tformnastavinport>(), false);
        QCOMPARE(names(), (QList<QStringList>{{u"Ján"_s, u"Novák"_s, QString(), QString()},
                                              {u"??"_s, u"Łódź ?"_s, QString(), QString()}}));
        QCOMPARE(a.lastBox(), u"Inport bol úspešne dokončený. Počet inportovaných záznamov: 2\nV 2 "
                              u"hodnotách boli znaky, ktoré sa do súboru nedajú uložiť; nahradil "
                              u"ich otáznik „?“."_s);
    }

    // A file that holds no text is refused before anything is asked or
    // stored; one that became no text after it was chosen stops the import.
    void notText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("changed");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char(i * 37 % 256);
        QTest::newRow("binary") << binary << false;
        QTest::newRow("UTF-16 without its mark") << QByteArray("M\0e\0n\0o\0", 8) << false;
        QTest::newRow("control bytes") << QByteArray("Meno\x01\x02;x\r\n").repeated(50) << false;
        QTest::newRow("binary once chosen") << binary << true;
    }
    void notText() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, changed);
        TempHome home;
        AddressBook a;
        const QString said = u"Súbor "_s +
                             QDir::toNativeSeparators(QDir::current().filePath(u"kontakty.txt"_s)) +
                             u" nie je textový súbor s kontaktmi: obsahuje binárne údaje."_s;
        if (changed) {
            Tformnastavinport* d = a.choose("Ján;Novák\r\n");
            QVERIFY(d);
            WriteFileBytes(u"kontakty.txt"_s, bytes);
            a.run(d, false);
            QCOMPARE(a.t.dialogs.errors, QStringList{u"Inport sa zastavil na riadku 1: "_s + said +
                                                     u" Nič nebolo inportované."_s});
        } else {
            QVERIFY(!a.choose(bytes));
            QCOMPARE(a.lastBox(), said);
        }
        QCOMPARE(rows(u"SELECT count(*) FROM mojekontakty"_s), QList<QStringList>{{u"0"_s}});
    }

    // The outcome is the commit's: a list that cannot be made afterwards is
    // said in the error box, and the contacts stay stored.
    void aFailedRefreshAfterTheCommit() {
        TempHome home;
        AddressBook a;
        Tformnastavinport* d = a.choose("Ján;Novák\r\nEva;Malá\r\n");
        d->findChild<QCheckBox*>(u"preskocit"_s)->setChecked(false);
        d->okClick();
        QVERIFY(a.window()->runningImport());
        a.window()->module().order = u"ORDER BY nieje"_s;
        QTRY_VERIFY_WITH_TIMEOUT(!a.window()->runningImport(), 20000);
        QCOMPARE(a.lastBox(), u"Inport bol úspešne dokončený. Počet inportovaných záznamov: 2"_s);
        QCOMPARE(a.t.dialogs.errors.size(), 1);
        QCOMPARE(rows(u"SELECT count(*) FROM mojekontakty"_s), QList<QStringList>{{u"2"_s}});
    }

    // While an import holds the address book's file, its list waits for the
    // import's end, and the program's other commands that meet the import
    // say so at once instead of blaming another program.
    void theImportHoldsTheFile() {
        TempHome home;
        AddressBook a;
        Tformnastavinport* d = a.choose(QByteArray("Meno;X\r\n").repeated(3000));
        d->findChild<QCheckBox*>(u"preskocit"_s)->setChecked(false);
        d->okClick();
        QVERIFY(a.window()->runningImport());
        a.window()->FormActivate();
        QCOMPARE(a.t.dialogs.errors, QStringList());
        a.t.dialogs.answers = {IDialogs::Answer::Yes};
        kosClick(a.t.context, nullptr);
        QVERIFY2(a.lastBox().contains(u"Do súboru data/Addressbook.dbf sa práve inportujú"_s),
                 qPrintable(a.lastBox()));
        // The wipe's copy reads the file through SQLite only, so it stops
        // before anything is wiped, and the import keeps its locks.
        a.t.dialogs.answers = {IDialogs::Answer::Yes};
        Guarded(a.t.dialogs, [&] { vymazatClick(a.t.context, nullptr); });
        QCOMPARE(a.t.dialogs.errors.size(), 1);
        QVERIFY2(a.t.dialogs.errors[0].contains(u"sa práve inportujú"_s),
                 qPrintable(a.t.dialogs.errors[0]));
        QCOMPARE(QDir().entryList({u"data-*"_s}, QDir::Dirs), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(!a.window()->runningImport(), 20000);
        QCOMPARE(rows(u"SELECT count(*) FROM mojekontakty"_s), QList<QStringList>{{u"3000"_s}});
    }

    // The export: a header in the list's name order, then what the list
    // shows, in its order; imported again, each value keeps its trailing
    // blank, and an empty one becomes one blank.
    void exportAndImportAgain() {
        TempHome home;
        AddressBook a;
        TSQLiteDatabase(kFile).Execute(
            u"INSERT INTO mojekontakty(meno,priezvisko,mesto,mail1,gadugadu,viditelnost) VALUES "
            u"('Ján','Novák','Žilina','jan@x.sk','g',1), ('Eva','Adamová','','','',1)"_s);
        a.window()->Aktualizuj();
        a.t.dialogs.fileNames = {QDir::current().filePath(u"export"_s)};
        Trigger(a.window(), "export");
        QCOMPARE(a.t.dialogs.fileDialogTitles, QStringList{u"Export adresára"_s});
        const QByteArray exported = FileBytes(u"export.txt"_s);
        const QList<QByteArray> lines = exported.split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith("Priezvisko ; Meno ; Ulica ; PS\xC8 ; Mesto ; "));
        QVERIFY(lines[0].endsWith(" ; AIM ; GaduGadu\r"));
        QCOMPARE(lines[1], "Adamov\xE1 ; Eva" + QByteArray(" ; ").repeated(22) + "\r");
        QVERIFY(lines[2].startsWith("Nov\xE1k ; J\xE1n ;  ;  ; \x8Eilina ; "));
        QVERIFY(lines[2].endsWith(" ; g\r"));
        QCOMPARE(lines[3], QByteArray());

        TSQLiteDatabase(kFile).Execute(u"DELETE FROM mojekontakty"_s);
        a.t.dialogs.fileNames = {QDir::current().filePath(u"export.txt"_s)};
        Trigger(a.window(), "bodkociarka");
        a.run(OpenWindow<Tformnastavinport>(), true);
        // The columns as exported: surname first, into meno.
        QCOMPARE(rows(u"SELECT meno, priezvisko, ulica, mesto, gadugadu FROM mojekontakty "
                      u"ORDER BY id"_s),
                 (QList<QStringList>{{u"Adamová "_s, u"Eva "_s, u" "_s, u" "_s, QString()},
                                     {u"Novák "_s, u"Ján "_s, u" "_s, u"Žilina "_s, u"g"_s}}));
    }

    // A contact with every field and Slovak letters goes out as a vCard or
    // a table and comes back with the same 24 values; the table's columns
    // are mapped by their names without the user.
    void otherProgramsFormats_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::newRow("vCard") << u"exportvcard"_s << u"kontakty.vcf"_s;
        QTest::newRow("CSV") << u"exportcsv"_s << u"kontakty.csv"_s;
    }
    void otherProgramsFormats() {
        QFETCH(QString, command);
        QFETCH(QString, file);
        TempHome home;
        AddressBook a;
        QString columns, values;
        for (const TFormField& field : kContactFields) {
            columns += QLatin1StringView(field.name) + u',';
            values += SqlText(u"Ľščť-žýáí; \"%1\", x"_s.arg(QLatin1StringView(field.name))) + u',';
        }
        TSQLiteDatabase(kFile).Execute(u"INSERT INTO mojekontakty("_s + columns +
                                       u"viditelnost) VALUES("_s + values +
                                       u"1), ('Eva','Malá',"_s + u"'',"_s.repeated(22) + u"1)"_s);
        const QString all = u"SELECT "_s + columns.chopped(1) + u" FROM mojekontakty ORDER BY id"_s;
        QList<QStringList> before = rows(all);
        std::sort(before.begin(), before.end());
        a.window()->Aktualizuj();
        a.t.dialogs.fileNames = {QDir::current().filePath(file)};
        Trigger(a.window(), command.toLatin1().constData());
        QVERIFY(QFileInfo::exists(file));
        TSQLiteDatabase(kFile).Execute(u"DELETE FROM mojekontakty"_s);
        a.t.dialogs.fileNames = {QDir::current().filePath(file)};
        Trigger(a.window(), "importvcardcsv");
        if (command == u"exportcsv") {
            auto* columnsDialog = OpenWindow<TTableColumnsDialog>();
            QVERIFY(columnsDialog);
            QVERIFY(columnsDialog->headerRow());
            QList<int> each;
            for (int field = 0; field < 24; ++field)
                each.append(field);
            QCOMPARE(columnsDialog->map(), each);
            columnsDialog->accept();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!a.window()->runningImport(), 20000);
        QCOMPARE(a.lastBox(), u"Inport bol úspešne dokončený. Počet inportovaných záznamov: 2"_s);
        // In the list's order, as exported.
        QList<QStringList> after = rows(all);
        std::sort(after.begin(), after.end());
        QCOMPARE(after, before);
    }

    // The other programs' exports write the contacts chosen: the selected
    // ones where several are, else those the filter leaves listed.
    void exportsTheChosen_data() { otherProgramsFormats_data(); }
    void exportsTheChosen() {
        QFETCH(QString, command);
        QFETCH(QString, file);
        TempHome home;
        AddressBook a;
        TSQLiteDatabase(kFile).Execute(
            u"INSERT INTO mojekontakty(meno,priezvisko,viditelnost) VALUES "
            u"('Adam','Abel',1), ('Boris','Bárta',1), ('Cyril','Cibula',1)"_s);
        a.window()->Aktualizuj();
        const auto exported = [&] {
            a.t.dialogs.fileNames = {QDir::current().filePath(file)};
            Trigger(a.window(), command.toLatin1().constData());
            QStringList surnames;
            for (const char* surname : {"Abel", "B\xC3\xA1rta", "Cibula"})
                if (FileBytes(file).contains(surname))
                    surnames.append(QString::fromUtf8(surname));
            return surnames;
        };
        auto* list = a.window()->findChild<QTreeView*>(u"zoznam"_s);
        const QAbstractItemModel* model = list->model();
        // One selected: the whole list.
        QCOMPARE(exported(), (QStringList{u"Abel"_s, u"Bárta"_s, u"Cibula"_s}));
        for (const int row : {0, 2})
            list->selectionModel()->select(model->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(exported(), (QStringList{u"Abel"_s, u"Cibula"_s}));
        QTest::keyClick(a.window(), Qt::Key_F, Qt::ControlModifier);
        auto* field = a.window()->findChild<QLineEdit*>(u"hladatvstup"_s);
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, u"barta"_s);
        QTRY_COMPARE(model->rowCount(), 1);
        QCOMPARE(exported(), QStringList{u"Bárta"_s});
    }

    // A broken card stores nothing and says where; what has no field is
    // named in the closing box.
    void vCardFaultsAndLeftOut() {
        TempHome home;
        AddressBook a;
        WriteFileBytes(u"a.vcf"_s, "BEGIN:VCARD\r\nN:Nov\xC3\xA1k;J\xC3\xA1n;;;\r\n"
                                   "NOTE:pozn\xC3\xA1mka\r\nBDAY:19800101\r\nEND:VCARD\r\n"
                                   "BEGIN:VCARD\r\nN:Mal\xC3\xA1;Eva;;;\r\n");
        a.t.dialogs.fileNames = {QDir::current().filePath(u"a.vcf"_s)};
        Trigger(a.window(), "importvcardcsv");
        // A date of birth in the file: asked whether it goes to the birthdays.
        OpenWindow<TVCardImportDialog>()->accept();
        QTRY_VERIFY_WITH_TIMEOUT(!a.window()->runningImport(), 20000);
        QCOMPARE(a.t.dialogs.errors.last(),
                 u"Súbor "_s + QDir::current().filePath(u"a.vcf"_s) +
                     u" sa nedá načítať: na riadku 6 vizitka nemá koniec (END:VCARD). Nič "
                     u"nebolo uložené."_s);
        QCOMPARE(names(), QList<QStringList>());
        WriteFileBytes(u"a.vcf"_s, FileBytes(u"a.vcf"_s) + "NOTE:a\r\nNOTE:b\r\nEND:VCARD\r\n");
        a.t.dialogs.fileNames = {QDir::current().filePath(u"a.vcf"_s)};
        Trigger(a.window(), "importvcardcsv");
        OpenWindow<TVCardImportDialog>()->accept();
        QTRY_VERIFY_WITH_TIMEOUT(!a.window()->runningImport(), 20000);
        QCOMPARE(a.lastBox(), u"Inport bol úspešne dokončený. Počet inportovaných záznamov: 2\nBez "
                              u"miesta v adresári (neuložené): BDAY "
                              u"\u00D71, NOTE \u00D73"_s);
        QCOMPARE(names(), (QList<QStringList>{{u"Ján"_s, u"Novák"_s, u""_s, u""_s},
                                              {u"Eva"_s, u"Malá"_s, u""_s, u""_s}}));
    }

    // Dates of birth go into the birthdays when the user asks: once each
    // (one already listed is not doubled), never a date to come, and all of
    // it or nothing with the contacts.
    void birthdaysFromOtherPrograms_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("broken");
        QTest::addColumn<QString>("leftOut");
        QTest::newRow("vCard") << u"k.vcf"_s
                               << QByteArray("BEGIN:VCARD\r\nN:Nov\xC3\xA1k;J\xC3\xA1n;;;\r\n"
                                             "BDAY:1980-01-01\r\nEND:VCARD\r\n"
                                             "BEGIN:VCARD\r\nFN:Eva Mal\xC3\xA1\r\n"
                                             "BDAY;VALUE=date:19900203\r\nEND:VCARD\r\n"
                                             "BEGIN:VCARD\r\nN:Bud\xC3\xBA\x63i;Ivo;;;\r\n"
                                             "item1.BDAY:2999-01-01\r\nEND:VCARD\r\n"
                                             "BEGIN:VCARD\r\nN:Bez;Dátumu;;;\r\nEND:VCARD\r\n")
                               << QByteArray("BEGIN:VCARD\r\nN:Z;Z;;;\r\nBDAY:19700101\r\n")
                               << u"BDAY"_s;
        QTest::newRow("CSV") << u"k.csv"_s
                             << QByteArray("First Name,Last Name,Birthday\r\n"
                                           "J\xC3\xA1n,Nov\xC3\xA1k,1/1/1980\r\n"
                                           "Eva,Mal\xC3\xA1,3. 2. 1990\r\n"
                                           "Ivo,Bud\xC3\xBA\x63i,2999-01-01\r\n"
                                           "Bez,Dátumu,0/0/00\r\n")
                             << QByteArray("Z,\"Z,1970-01-01\r\n") << u"Dátum narodenia"_s;
    }
    void birthdaysFromOtherPrograms() {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, broken);
        QFETCH(QString, leftOut);
        TempHome home;
        AddressBook a;
        const QString birth = a.t.context.modules.narodky.file;
        TSQLiteDatabase(birth).Execute(
            u"INSERT INTO narodky(meno,poradie,narodenie,viditelnost) VALUES "
            u"('Ján Novák','2000-01-01 00:00:00','1980-01-01 00:00:00',1)"_s);
        const QString listed = u"SELECT meno, poradie, narodenie FROM narodky ORDER BY id"_s;
        // The file, whether the box is ticked, and how many dates a vCard
        // file is said to have (one of them in a group: item1.BDAY).
        const auto import = [&](const QByteArray& content, bool asked, int dates) {
            WriteFileBytes(file, content);
            a.t.dialogs.fileNames = {QDir::current().filePath(file)};
            Trigger(a.window(), "importvcardcsv");
            QDialog* dialog = OpenWindow<TVCardImportDialog>();
            if (dialog)
                QCOMPARE(dialog->findChild<QLabel*>()->text(),
                         u"Vizitky s dátumom narodenia v súbore k.vcf: "_s +
                             QString::number(dates));
            else
                dialog = OpenWindow<TTableColumnsDialog>();
            QVERIFY(dialog);
            auto* box = dialog->findChild<QCheckBox*>(u"narodeniny"_s);
            QVERIFY(box->isEnabled());
            QVERIFY(!box->isChecked());
            box->setChecked(asked);
            dialog->accept();
            QTRY_VERIFY_WITH_TIMEOUT(!a.window()->runningImport(), 20000);
        };
        import(bytes + broken, true, 4);
        QCOMPARE(names(), QList<QStringList>());
        QCOMPARE(DbRows(birth, listed).size(), 1);
        import(bytes, true, 3);
        QCOMPARE(a.lastBox(), u"Inport bol úspešne dokončený. Počet inportovaných záznamov: 4\n"
                              u"Do narodenín pridaných: 1\n"
                              u"V narodeninách už boli (nepridané): 1\n"
                              u"Bez miesta v adresári (neuložené): "_s +
                                  leftOut + u" \u00D71"_s);
        QCOMPARE(DbRows(birth, listed),
                 (QList<QStringList>{
                     {u"Ján Novák"_s, u"2000-01-01 00:00:00"_s, u"1980-01-01 00:00:00"_s},
                     {u"Eva Malá"_s, u"2000-02-03 00:00:00"_s, u"1990-02-03 00:00:00"_s}}));
        // Not asked: the dates are counted as left out.
        import(bytes, false, 3);
        QVERIFY(a.lastBox().endsWith(leftOut + u" \u00D73"_s));
        QCOMPARE(DbRows(birth, listed).size(), 2);
    }

    void exportFollowsTheList() {
        TempHome home;
        AddressBook a;
        TSQLiteDatabase(kFile).Execute(
            u"INSERT INTO mojekontakty(meno,priezvisko,mail1,viditelnost) VALUES "
            u"('Ján','Novák','jan@x.sk',1), ('Eva','Adamová','',1), ('Ivo','Bez','ivo@x.sk',0)"_s);
        Trigger(a.window(), "podlamailu1");
        a.t.dialogs.fileNames = {QDir::current().filePath(u"e.txt"_s)};
        // First name first.
        a.window()->options().values[TAddressBookOptions::FirstNameFirst] = 1;
        a.window()->options().values[TAddressBookOptions::SurnameFirst] = 0;
        Trigger(a.window(), "export");
        const QList<QByteArray> lines = FileBytes(u"e.txt"_s).split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("Meno ; Priezvisko ; Ulica"));
        QVERIFY(lines[1].startsWith("J\xE1n ; Nov\xE1k ; "));
        // No contact listed: the box, no dialog, no file.
        Trigger(a.window(), "podlafaxu");
        a.t.dialogs.fileDialogTitles.clear();
        Trigger(a.window(), "export");
        QCOMPARE(a.lastBox(), u"Neboli nájdené žiadne záznamy!\nexport nie je možné vykonať!"_s);
        QVERIFY(a.t.dialogs.fileDialogTitles.isEmpty());
    }
};

VELMORAND_TEST_MAIN(TestContactImport)
#include "tst_contactimport.moc"
