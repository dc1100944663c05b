// Creation of the five database files with their catalogues and default groups.
#include "storage/datafiles.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"
#include "testcore.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// The captions of the four default groups: address book, journal, diary, notes.
using Captions = std::array<QString, 4>;
const Captions kSlovak{u"Moje kontakty"_s, u"Môj denník"_s, u"Môj diár"_s, u"Moje poznámky"_s};

QList<TDataFileFailure> create(DataModules& m, const Captions& captions = kSlovak) {
    const TDataFileRequest files[] = {{&m.adresar, captions[0]},
                                      {&m.dennik, captions[1]},
                                      {&m.diar, captions[2]},
                                      {&m.poznamky, captions[3]},
                                      {&m.narodky, QString()}};
    return Vytvorsubory(files);
}

// The first failure's message, empty when every file was made.
QString createError(DataModules& modules) {
    const QList<TDataFileFailure> failures = create(modules);
    return failures.isEmpty() ? QString() : failures.first().message;
}

QString cp1250Hex(const QString& text) {
    return QString::fromLatin1(Cp1250::encode(text).toHex().toUpper());
}

QList<QStringList> schemaOf(const QString& file) {
    return DbRows(file, u"SELECT name, sql FROM sqlite_master ORDER BY rowid"_s);
}

} // namespace

class TestDataFiles : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesEverything_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("definition");
        QTest::newRow("address book")
            << u"data/Addressbook.dbf"_s << u"mojekontakty"_s << u"Moje kontakty"_s
            << u"CREATE TABLE mojekontakty([id] INTEGER PRIMARY KEY, [meno] varchar(20),"
               "[priezvisko] varchar(30),[ulica] varchar(30),[psc] varchar(15),[mesto] "
               "varchar(30), "
               "[stat] varchar(20),[tel1] varchar(30),[tel2] varchar(30),[mob1] varchar(30),"
               "[mob2] varchar(30),[mob3] varchar(30),[fax] varchar(30),[mail1] varchar(30),"
               "[mail2] varchar(30),[mail3] varchar(30),[web] varchar(30),[icq] varchar(20),"
               "[skype] varchar(30),[irc] varchar(30),[jabber] varchar(30),[msn] varchar(30),"
               "[yahoo] varchar(30),[ain] varchar(30),[gadugadu] varchar(30),[viditelnost] INTEGER)"_s;
        QTest::newRow("journal")
            << u"data/Diary.dbf"_s << u"mojdennik"_s << u"Môj denník"_s
            << u"CREATE TABLE mojdennik([id] INTEGER PRIMARY KEY, [datum] date,[obsah] text,"
               "[viditelnost] integer)"_s;
        QTest::newRow("diary")
            << u"data/Reminders.dbf"_s << u"mojdiar"_s << u"Môj diár"_s
            << u"CREATE TABLE mojdiar([id] INTEGER PRIMARY KEY, [datum] date,[avizo] datetime,"
               "[alarm] INTEGER,[predmet] warchar(30),[obsah] text,[viditelnost] integer)"_s;
        QTest::newRow("notes")
            << u"data/Notes.dbf"_s << u"mojepoznamky"_s << u"Moje poznámky"_s
            << u"CREATE TABLE mojepoznamky([id] INTEGER PRIMARY KEY, [predmet] varchar(30),"
               "[obsah] text,[datum] datetime,[datumzmeny] datetime,[viditelnost] integer)"_s;
    }
    void firstStartCreatesEverything() {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(QString, caption);
        QFETCH(QString, definition);
        TempHome home;
        DataModules modules;
        create(modules);

        // SQLite keeps a definition without its final semicolon.
        const QList<QStringList> expected{
            {u"tables"_s, u"CREATE TABLE tables([id] INTEGER PRIMARY KEY, [nametable] varchar(30),"
                          "[captiontable] varchar(30),[viditelnost] INTEGER)"_s},
            {table, definition}};
        QCOMPARE(schemaOf(file), expected);
        QCOMPARE(DbRows(file, u"SELECT id, nametable, captiontable, viditelnost FROM tables"_s),
                 (QList<QStringList>{{u"1"_s, table, caption, u"1"_s}}));
        QCOMPARE(DbRows(file, u"SELECT COUNT(*) FROM "_s + table), QList<QStringList>{{u"0"_s}});
        // The captions are stored in the code page.
        QCOMPARE(DbRows(file, u"SELECT hex(captiontable) FROM tables"_s)[0][0], cp1250Hex(caption));

        QCOMPARE(schemaOf(u"data/Birth.dbf"_s),
                 (QList<QStringList>{
                     {u"narodky"_s,
                      u"CREATE TABLE narodky([id] INTEGER PRIMARY KEY, [meno] varchar(30),"
                      "[poradie] datetime,[narodenie] datetime,[viditelnost] INTEGER)"_s}}));
        QCOMPARE(modules.diar.table, u"mojdiar"_s);
        QCOMPARE(modules.diar.caption, u"Môj diár"_s);
        QCOMPARE(modules.poznamky.caption, u"Moje poznámky"_s);
    }

    void secondStartChangesNothing() {
        TempHome home;
        DataModules modules;
        create(modules);
        modules.diar.table = u"ina"_s;
        const QStringList files = QDir(u"data"_s).entryList(QDir::Files);
        QCOMPARE(files.size(), 5);
        QList<QByteArray> before;
        for (const QString& f : files)
            before.append(FileBytes(u"data/"_s + f));
        create(modules, {u"A"_s, u"B"_s, u"C"_s, u"D"_s});
        for (int i = 0; i < files.size(); ++i)
            QVERIFY2(FileBytes(u"data/"_s + files[i]) == before[i], qPrintable(files[i]));
        // The current group goes back to the default group, with the new caption.
        QCOMPARE(modules.diar.table, u"mojdiar"_s);
        QCOMPARE(modules.diar.caption, u"C"_s);
        QCOMPARE(QDir(u"data"_s).entryList(QDir::Files), files); // no journals left behind
    }

    void aFileWithACatalogueIsLeftAlone() {
        TempHome home;
        QDir().mkdir(u"data"_s);
        {
            TSQLiteDatabase db(u"data/Notes.dbf"_s);
            db.Execute(QString::fromUtf16(Schema::kCatalogue));
        }
        DataModules modules;
        create(modules);
        QCOMPARE(DbRows(u"data/Notes.dbf"_s, u"SELECT name FROM sqlite_master"_s),
                 QList<QStringList>{{u"tables"_s}});
    }

    void aFailedCreationLeavesNoCatalogueBehind() {
        TempHome home;
        QDir().mkdir(u"data"_s);
        {
            // A table in the way of the default group makes its creation fail.
            TSQLiteDatabase db(u"data/Reminders.dbf"_s);
            db.Execute(u"CREATE TABLE mojdiar(x)"_s);
        }
        DataModules modules;
        QCOMPARE(createError(modules),
                 u"Error executing SQL \"CREATE TABLE mojdiar([id] INTEGER PRIMARY KEY, "
                 "[datum] date,[avizo] datetime,[alarm] INTEGER,[predmet] warchar(30),[obsah] text,"
                 "[viditelnost] integer);\" : table mojdiar already exists"_s);
        QCOMPARE(DbRows(u"data/Reminders.dbf"_s, u"SELECT name FROM sqlite_master"_s),
                 QList<QStringList>{{u"mojdiar"_s}});
        // The files after the failing one are made all the same.
        QVERIFY(QFile::exists(u"data/Notes.dbf"_s));
        QVERIFY(QFile::exists(u"data/Diary.dbf"_s));

        // Once the obstacle is gone the next start completes the file.
        {
            TSQLiteDatabase db(u"data/Reminders.dbf"_s);
            db.Execute(u"DROP TABLE mojdiar"_s);
        }
        QCOMPARE(createError(modules), QString());
        QCOMPARE(DbRows(u"data/Reminders.dbf"_s, u"SELECT nametable FROM tables"_s),
                 QList<QStringList>{{u"mojdiar"_s}});
    }

    void captionsWithQuotesAreStoredExactly() {
        TempHome home;
        DataModules modules;
        const Captions odd{u"a\"b"_s, u"it's"_s, u"\"\""_s, u"x'); DROP TABLE tables; --"_s};
        create(modules, odd);
        QCOMPARE(DbRows(u"data/Addressbook.dbf"_s, u"SELECT captiontable FROM tables"_s)[0][0],
                 odd[0]);
        QCOMPARE(DbRows(u"data/Diary.dbf"_s, u"SELECT captiontable FROM tables"_s)[0][0], odd[1]);
        QCOMPARE(DbRows(u"data/Reminders.dbf"_s, u"SELECT captiontable FROM tables"_s)[0][0],
                 odd[2]);
        QCOMPARE(DbRows(u"data/Notes.dbf"_s, u"SELECT captiontable FROM tables"_s)[0][0], odd[3]);
    }

    void badFiles_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        QTest::newRow("data is a file")
            << u"data-file"_s
            << u"Failed to open database \"data/Addressbook.dbf\" : unable to open database file"_s;
        QTest::newRow("garbage")
            << u"garbage"_s
            << u"Error executing SQL \"PRAGMA SYNCHRONOUS=NORMAL;\" : file is not a database"_s;
        QTest::newRow("read-only")
            << u"read-only"_s
            << u"Error executing SQL statement \"CREATE TABLE tables([id] INTEGER PRIMARY KEY, "
               "[nametable] varchar(30),[captiontable] varchar(30),[viditelnost] INTEGER);\" : "
               "attempt to write a readonly database"_s;
    }
    void badFiles() {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        TempHome home;
        DataModules modules;
        if (setup == u"data-file") {
            WriteFileBytes(u"data"_s, "x");
        } else if (setup == u"garbage") {
            QDir().mkdir(u"data"_s);
            WriteFileBytes(u"data/Addressbook.dbf"_s, QByteArray(2048, '\x7f'));
        } else {
            QDir().mkdir(u"data"_s);
            WriteFileBytes(u"data/Addressbook.dbf"_s, QByteArray());
            modules.adresar.file = u"file:data/Addressbook.dbf?mode=ro"_s;
        }
        const QByteArray before = FileBytes(u"data/Addressbook.dbf"_s);
        const QList<TDataFileFailure> failures = create(modules);
        QVERIFY(!failures.isEmpty());
        QCOMPARE(failures.first().file, modules.adresar.file);
        QCOMPARE(failures.first().message, message);
        QCOMPARE(FileBytes(u"data/Addressbook.dbf"_s), before);
        // The other files are made all the same, where they can be.
        if (setup == u"data-file") {
            QCOMPARE(failures.size(), 5);
        } else {
            QCOMPARE(failures.size(), 1);
            QCOMPARE(DbRows(u"data/Notes.dbf"_s, u"SELECT nametable FROM tables"_s),
                     QList<QStringList>{{u"mojepoznamky"_s}});
        }
    }
};

VELMORAND_CORE_TEST_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
