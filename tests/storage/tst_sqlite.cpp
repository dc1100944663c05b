// The SQLite access layer: results, cell reads, messages, locks, connections.
#include "storage/sqlite.h"
#include "testcore.h"

#include <QDir>
#include <QProcess>
#include <future>
#include <sqlite3.h>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

int openFileCount() {
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

QString messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ESQLiteException& e) {
        return e.message();
    }
    return u"<no error>"_s;
}

// A second connection of our own, as another process would hold the file.
struct OtherConnection {
    explicit OtherConnection(const QString& file) { sqlite3_open(file.toUtf8().constData(), &db); }
    ~OtherConnection() { sqlite3_close(db); }
    void exec(const char* sql) {
        QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3* db = nullptr;
};

} // namespace

class TestSqlite : public QObject {
    Q_OBJECT
private slots:
    void emptyResult() {
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        db.Execute(u"CREATE TABLE t(a INTEGER)"_s);
        TSQLiteTable table = db.Query(u"SELECT * FROM t"_s);
        QCOMPARE(table.Rows(), 0);
        QVERIFY(table.AtEnd());
        QVERIFY(!table.Advance());
        QCOMPARE(messageOf([&] { table.ColumnIndex(u"a"_s); }),
                 u"Field a Not found. Empty dataset"_s);
    }

    void columnIndexIgnoresCase_data() {
        QTest::addColumn<QString>("declared");
        QTest::newRow("lower") << u"predmet"_s;
        QTest::newRow("upper") << u"PREDMET"_s;
        QTest::newRow("mixed") << u"Predmet"_s;
    }
    void columnIndexIgnoresCase() {
        QFETCH(QString, declared);
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        db.Execute(u"CREATE TABLE t(id INTEGER, %1 text)"_s.arg(declared));
        db.Execute(u"INSERT INTO t VALUES(1, 'x')"_s);
        TSQLiteTable table = db.Query(u"SELECT * FROM t"_s);
        QCOMPARE(table.ColumnIndex(u"predmet"_s), 1);
        QCOMPARE(table.ColumnIndex(u"ID"_s), 0);
        QCOMPARE(messageOf([&] { table.ColumnIndex(u"obsah"_s); }),
                 u"Field not found in dataset: obsah"_s);
    }

    void cursorPastTheLastRow() {
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        TSQLiteTable table = db.Query(u"SELECT 1 AS a UNION ALL SELECT 2"_s);
        QCOMPARE(table.Rows(), 2);
        QCOMPARE(table.CellInt64(0), 1);
        QVERIFY(table.Advance());
        QCOMPARE(table.CellInt64(0), 2);
        QVERIFY(table.Advance()); // once past the last row
        QVERIFY(table.AtEnd());
        QVERIFY(!table.Advance());
        QCOMPARE(messageOf([&] { table.CellInt64(0); }), u"Table is at End of File"_s);
        QCOMPARE(messageOf([&] { table.CellTextOrEmpty(0); }), u"Table is at End of File"_s);
    }

    void kindFromDeclaredType_data() {
        QTest::addColumn<QString>("column"); // declaration, or an expression after "="
        QTest::addColumn<int>("kind");
        QTest::newRow("INTEGER") << u"c INTEGER"_s << 1;
        QTest::newRow("BOOLEAN") << u"c BOOLEAN"_s << 1;
        // SQLite 3.37 and later report the standard type names in capitals.
        QTest::newRow("integer in lower case")
            << u"c integer"_s << (sqlite3_libversion_number() >= 3037000 ? 1 : 3);
        QTest::newRow("int is text") << u"c int"_s << 3;
        QTest::newRow("NUMERIC") << u"c NUMERIC"_s << 2;
        QTest::newRow("FLOAT") << u"c FLOAT"_s << 2;
        QTest::newRow("DOUBLE") << u"c DOUBLE"_s << 2;
        QTest::newRow("REAL") << u"c REAL"_s << 2;
        QTest::newRow("BLOB") << u"c BLOB"_s << 4;
        QTest::newRow("varchar(30)") << u"c varchar(30)"_s << 3;
        QTest::newRow("warchar(30)") << u"c warchar(30)"_s << 3;
        QTest::newRow("datetime") << u"c datetime"_s << 3;
        QTest::newRow("expression integer") << u"=COUNT(*)"_s << 1;
        QTest::newRow("expression float") << u"=1.5"_s << 2;
        QTest::newRow("expression text") << u"='x'"_s << 3;
        QTest::newRow("expression blob") << u"=x'00'"_s << 4;
        QTest::newRow("expression null") << u"=NULL"_s << 5;
    }
    void kindFromDeclaredType() {
        QFETCH(QString, column);
        QFETCH(int, kind);
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        TSQLiteTable table;
        if (column.startsWith(u'=')) {
            table = db.Query(u"SELECT "_s + column.mid(1) + u" AS c"_s);
        } else {
            db.Execute(u"CREATE TABLE t("_s + column + u")"_s);
            db.Execute(u"INSERT INTO t VALUES(1)"_s);
            table = db.Query(u"SELECT c FROM t"_s);
        }
        QCOMPARE(table.ColumnKind(0), kind);
    }

    void readsByKind() {
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        db.Execute(
            u"CREATE TABLE d([id] INTEGER PRIMARY KEY, [alarm] INTEGER, [viditelnost] integer, "
            "[r] REAL, [b] BLOB, [t] varchar(30))"_s);
        db.Execute(u"INSERT INTO d(alarm,viditelnost,r,b,t) VALUES(\"1\",1,-2.7,x'41e1',"
                   "'Môj' || char(0) || 'rest')"_s);
        db.Execute(u"INSERT INTO d(alarm,viditelnost,r,b,t) VALUES(NULL,NULL,1e300,x'',NULL)"_s);
        TSQLiteTable table = db.Query(u"SELECT * FROM d ORDER BY id"_s);
        const int alarm = table.ColumnIndex(u"alarm"_s), vid = table.ColumnIndex(u"viditelnost"_s);
        const int r = table.ColumnIndex(u"r"_s), b = table.ColumnIndex(u"b"_s),
                  t = table.ColumnIndex(u"t"_s);

        QCOMPARE(table.CellInt64(alarm), 1);
        QCOMPARE(table.CellTextOrEmpty(vid), u"1"_s);
        QCOMPARE(table.CellInt64(r), -2);       // toward zero
        QCOMPARE(table.CellText(r), u"-2,7"_s); // the user's decimal separator
        QCOMPARE(table.CellStream(b)->toHex(), QByteArray("41e1"));
        QCOMPARE(table.CellStreamText(b), u"Aá"_s);
        QCOMPARE(messageOf([&] { table.CellStream(alarm); }), u"Not a Blob field"_s);
        QCOMPARE(messageOf([&] { table.CellFloat(t); }), u"Not an integer or numeric field"_s);
        QCOMPARE(messageOf([&] { table.CellInt64(t); }), u"Not an integer or numeric field"_s);
        QCOMPARE(table.CellText(t), u"Môj"_s); // up to the first NUL

        QVERIFY(table.Advance());
        QCOMPARE(table.CellText(alarm), u"0"_s); // NULL in an integer column
        QCOMPARE(table.CellTextOrEmpty(alarm), QString());
        QCOMPARE(table.CellInt64(alarm), 0);
        QCOMPARE(table.CellInt64(r), std::numeric_limits<qint64>::max());
        QCOMPARE(table.CellText(r), u"1E300"_s);
        QCOMPARE(table.CellStream(b), nullptr); // a zero-length blob is an empty cell
        QCOMPARE(table.CellStreamText(b), QString());
        QCOMPARE(table.CellTextOrEmpty(t), QString());
    }

    // One statement a text: a second is refused before anything runs;
    // values go in bound, whatever they hold.
    void oneStatementWithItsValuesBound() {
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        QCOMPARE(messageOf([&] { db.Execute(u"CREATE TABLE a(x); CREATE TABLE b(x);"_s); }),
                 u"More than one statement in \"CREATE TABLE a(x); CREATE TABLE b(x);\""_s);
        QVERIFY(!db.HasTable(u"a"_s));
        db.Execute(u"CREATE TABLE a(x, y);  ;\r\n"_s);
        const QString hostile = u"'); DROP TABLE a; --\"ô"_s;
        db.Execute(u"INSERT INTO a VALUES(?1, ?2)"_s, {hostile + QChar(0) + u"rest"_s, qint64(7)});
        const TSQLiteTable row =
            db.Query(u"SELECT x, y FROM a WHERE x=?1"_s, {hostile + u"rest"_s});
        QCOMPARE(row.Rows(), 1);
        QCOMPARE(row.CellText(0), hostile + u"rest"_s);
        QCOMPARE(row.CellInt64(1), 7);
        // Stored in the code page: "ô" is F4.
        QVERIFY(DbRows(u"t.dbf"_s, u"SELECT hex(x) FROM a"_s)[0][0].endsWith(u"F472657374"_s));
    }

    void executeMessages_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        QTest::newRow("select returns a row")
            << u"SELECT 1"_s
            << u"Error executing SQL statement \"SELECT 1\" : another row available"_s;
        QTest::newRow("syntax error")
            << u"SELEC 1"_s << u"Error executing SQL \"SELEC 1\" : near \"SELEC\": syntax error"_s;
        QTest::newRow("no statement") << u" ;"_s << u"Could not prepare SQL statement"_s;
        QTest::newRow("constraint")
            << u"INSERT INTO t VALUES(1)"_s
            << u"Error executing SQL statement \"INSERT INTO t VALUES(1)\" : UNIQUE constraint failed: t.a"_s;
    }
    void executeMessages() {
        QFETCH(QString, sql);
        QFETCH(QString, message);
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        db.Execute(u"CREATE TABLE t(a INTEGER PRIMARY KEY)"_s);
        db.Execute(u"INSERT INTO t VALUES(1)"_s);
        QCOMPARE(messageOf([&] { db.Execute(sql); }), message);
        QCOMPARE(DbRows(u"t.dbf"_s, u"SELECT a FROM t"_s), QList<QStringList>{{u"1"_s}});
    }

    void hasTable_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::newRow("same") << u"tables"_s << true;
        QTest::newRow("capital") << u"Tables"_s << true;
        QTest::newRow("other") << u"narodky"_s << false;
        QTest::newRow("apostrophe") << u"x' OR '1'='1"_s << false;
        QTest::newRow("quote and bracket") << u"a\"]b"_s << false;
    }
    void hasTable() {
        QFETCH(QString, name);
        QFETCH(bool, found);
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        db.Execute(u"CREATE TABLE tables(x)"_s);
        QCOMPARE(db.HasTable(name), found);
    }

    void literalStandsForItsText_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("column name") << u"datum"_s;
        QTest::newRow("quotes") << u"it's \"quoted\" ''"_s;
        QTest::newRow("statement end") << u"x'); DROP TABLE t; --"_s;
        QTest::newRow("line breaks") << u"a\r\nb\nc"_s;
        QTest::newRow("slovak") << u"Ľúbostný list, ťava"_s;
        QTest::newRow("empty") << QString();
    }
    void literalStandsForItsText() {
        QFETCH(QString, text);
        TempHome home;
        TSQLiteDatabase db(u"t.dbf"_s);
        db.Execute(u"CREATE TABLE t(datum text)"_s);
        db.Execute(u"INSERT INTO t(datum) VALUES("_s + SqlText(text) + u")"_s);
        TSQLiteTable table = db.Query(u"SELECT datum FROM t"_s);
        QCOMPARE(table.Rows(), 1);
        QCOMPARE(table.CellTextOrEmpty(0), text);
        QCOMPARE(SqlText(u"a"_s + QChar(0) + u"b"_s), u"'ab'"_s);
    }

    void openInAMissingFolder() {
        TempHome home;
        QCOMPARE(messageOf([] { TSQLiteDatabase db(u"nowhere/x.dbf"_s); }),
                 u"Failed to open database \"nowhere/x.dbf\" : unable to open database file"_s);
    }

    void garbageFile() {
        TempHome home;
        WriteFileBytes(u"g.dbf"_s, QByteArray(4096, 'g'));
        const int before = openFileCount();
        QVERIFY(messageOf([] {
                    TSQLiteDatabase db(u"g.dbf"_s);
                    db.HasTable(u"tables"_s);
                }).endsWith(u": file is not a database"_s));
        QCOMPARE(openFileCount(), before); // the connection was closed on the way out
        QCOMPARE(FileBytes(u"g.dbf"_s), QByteArray(4096, 'g'));
    }

    void readOnlyFile() {
        TempHome home;
        {
            TSQLiteDatabase db(u"r.dbf"_s);
            db.Execute(u"CREATE TABLE t(a)"_s);
        }
        TSQLiteDatabase db(u"file:r.dbf?mode=ro"_s);
        QVERIFY(db.HasTable(u"t"_s));
        QCOMPARE(
            messageOf([&] { db.Execute(u"INSERT INTO t VALUES(1)"_s); }),
            u"Error executing SQL statement \"INSERT INTO t VALUES(1)\" : attempt to write a readonly database"_s);
    }

    void lockedByAnotherConnection() {
        TempHome home;
        TSQLiteDatabase db(u"l.dbf"_s);
        db.Execute(u"CREATE TABLE t(a)"_s);
        QCOMPARE(db.Query(u"SELECT * FROM t"_s).Rows(), 0);

        OtherConnection other(u"l.dbf"_s);
        other.exec("BEGIN IMMEDIATE; INSERT INTO t VALUES(1);");
        QCOMPARE(
            messageOf([&] { db.Execute(u"INSERT INTO t VALUES(2)"_s); }),
            u"Error executing SQL statement \"INSERT INTO t VALUES(2)\" : database is locked"_s);
        QCOMPARE(messageOf([&] { TSQLiteTransaction transaction(db); }),
                 u"Error executing SQL statement \"BEGIN IMMEDIATE;\" : database is locked"_s);
        other.exec("COMMIT; BEGIN EXCLUSIVE;");
        QCOMPARE(messageOf([&] { db.Query(u"SELECT * FROM t"_s); }),
                 u"Could not prepare SQL statement"_s);
        other.exec("ROLLBACK;");
        QCOMPARE(db.Query(u"SELECT * FROM t"_s).Rows(), 1);
    }

    // The stamp reads the file's header without taking the locks of the
    // process's open transaction away: another program still cannot write,
    // and the file stays whole.
    void theStampKeepsTheLocks() {
        TempHome home;
        TSQLiteDatabase db(u"s.dbf"_s);
        db.Execute(u"CREATE TABLE t(a)"_s);
        const QByteArray before = DatabaseStamp(u"s.dbf"_s);
        QVERIFY(!before.isEmpty());
        {
            TSQLiteTransaction transaction(db);
            for (int i = 0; i < 3000; ++i)
                db.Execute(u"INSERT INTO t VALUES(randomblob(1000))"_s);
            QCOMPARE(DatabaseStamp(u"s.dbf"_s), DatabaseStamp(u"s.dbf"_s));
            QProcess other;
            other.start(u"sqlite3"_s, {u"s.dbf"_s, u"INSERT INTO t VALUES(1);"_s});
            QVERIFY(other.waitForFinished(10000));
            QVERIFY(other.exitCode() != 0);
            QVERIFY2(other.readAllStandardError().contains("locked"), "another program wrote");
            transaction.Commit();
        }
        QVERIFY(DatabaseStamp(u"s.dbf"_s) != before);
        QCOMPARE(DbRows(u"s.dbf"_s, u"PRAGMA integrity_check"_s), QList<QStringList>{{u"ok"_s}});
        QCOMPARE(DbRows(u"s.dbf"_s, u"SELECT count(*) FROM t"_s), QList<QStringList>{{u"3000"_s}});
        QVERIFY(DatabaseStamp(u"missing.dbf"_s).isEmpty());
    }

    // Another connection's lock is waited for a while; one that the
    // process's own long transaction holds is said at once as its own.
    void busyWaitsForOthersOnly() {
        TempHome home;
        TSQLiteDatabase(u"b.dbf"_s).Execute(u"CREATE TABLE t(a)"_s);
        TSQLiteDatabase::SetBusyTimeout(10000);
        std::promise<void> locked;
        std::thread holder([&locked] {
            OtherConnection other(u"b.dbf"_s);
            other.exec("BEGIN EXCLUSIVE; INSERT INTO t VALUES(1);");
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.exec("COMMIT;");
        });
        locked.get_future().wait();
        const int rows = TSQLiteDatabase(u"b.dbf"_s).Query(u"SELECT * FROM t"_s).Rows();
        holder.join();
        QCOMPARE(rows, 1);

        // A file attached to the import's connection is held with it.
        TSQLiteDatabase(u"c.dbf"_s).Execute(u"CREATE TABLE u(a)"_s);
        TSQLiteDatabase importing(u"b.dbf"_s);
        importing.Attach(u"c.dbf"_s, u"c"_s);
        TSQLiteTransaction transaction(importing, TSQLiteTransaction::Span::Long);
        importing.Execute(u"INSERT INTO c.u VALUES(1)"_s);
        for (const QString& file : {u"b.dbf"_s, u"c.dbf"_s})
            try {
                TSQLiteDatabase(file).Query(u"SELECT * FROM sqlite_master"_s);
                QFAIL("read through a held file");
            } catch (const ESQLiteException& e) {
                QCOMPARE(int(e.fault()), int(EFault::BusyHere));
            }
        TSQLiteDatabase::SetBusyTimeout(kTestBusyTimeout);
    }

    void transactionIsAllOrNothing() {
        TempHome home;
        TSQLiteDatabase db(u"x.dbf"_s);
        db.Execute(u"CREATE TABLE t(a INTEGER PRIMARY KEY)"_s);
        try {
            TSQLiteTransaction transaction(db);
            db.Execute(u"INSERT INTO t VALUES(1)"_s);
            db.Execute(u"INSERT INTO t VALUES(1)"_s); // fails
            transaction.Commit();
        } catch (const ESQLiteException&) {
        }
        QCOMPARE(db.Query(u"SELECT * FROM t"_s).Rows(), 0);
        {
            TSQLiteTransaction transaction(db);
            db.Execute(u"INSERT INTO t VALUES(2)"_s);
            transaction.Commit();
        }
        QCOMPARE(db.Query(u"SELECT * FROM t"_s).Rows(), 1);
    }

    void resultOutlivesTheConnection() {
        TempHome home;
        TSQLiteTable table;
        {
            TSQLiteDatabase db(u"t.dbf"_s);
            table = db.Query(u"SELECT 'kôň' AS a"_s);
        }
        QCOMPARE(table.CellText(table.ColumnIndex(u"A"_s)), u"kôň"_s);
    }

    void textsAreStoredInTheCodePage() {
        TempHome home;
        {
            TSQLiteDatabase db(u"t.dbf"_s);
            db.Execute(u"CREATE TABLE t(a text)"_s);
            db.Execute(u"INSERT INTO t VALUES('Môj diár')"_s);
        }
        QCOMPARE(DbRows(u"t.dbf"_s, u"SELECT hex(a) FROM t"_s),
                 QList<QStringList>{{u"4DF46A206469E172"_s}});
    }

    // What went wrong, as the error box tells it, and with which file.
    void faults_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("fault");
        QTest::newRow("locked") << u"t.dbf"_s << u"INSERT INTO t VALUES(2)"_s << int(EFault::Busy);
        QTest::newRow("read-only")
            << u"file:t.dbf?mode=ro"_s << u"INSERT INTO t VALUES(2)"_s << int(EFault::ReadOnly);
        QTest::newRow("no table") << u"t.dbf"_s << u"SELECT * FROM nie"_s
                                  << int(EFault::MissingPart);
        QTest::newRow("no column")
            << u"t.dbf"_s << u"SELECT nie FROM t"_s << int(EFault::MissingPart);
        QTest::newRow("not a database")
            << u"garbage.dbf"_s << u"SELECT 1"_s << int(EFault::Damaged);
        QTest::newRow("a folder") << u"folder"_s << u"SELECT 1"_s << int(EFault::CannotRead);
        QTest::newRow("the program's own") << u"t.dbf"_s << u"SELEC 1"_s << int(EFault::Unexpected);
    }
    void faults() {
        QFETCH(QString, file);
        QFETCH(QString, sql);
        QFETCH(int, fault);
        TempHome home;
        TSQLiteDatabase(u"t.dbf"_s).Execute(u"CREATE TABLE t(a)"_s);
        WriteFileBytes(u"garbage.dbf"_s, QByteArray(2048, '\x7f'));
        QDir().mkdir(u"folder"_s);
        OtherConnection other(u"t.dbf"_s);
        if (QTest::currentDataTag() == QByteArray("locked"))
            other.exec("BEGIN IMMEDIATE; INSERT INTO t VALUES(1);");
        try {
            TSQLiteDatabase(file).Execute(sql);
            QFAIL("no error");
        } catch (const ESQLiteException& e) {
            QCOMPARE(int(e.fault()), fault);
            QCOMPARE(e.file(), file);
        }
    }
};

VELMORAND_CORE_TEST_MAIN(TestSqlite)
#include "tst_sqlite.moc"
