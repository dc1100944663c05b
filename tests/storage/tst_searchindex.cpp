// The search index: words found by their starts whatever their case and
// accents, kept by record and group, and safe against any search text and
// against a damaged or missing file.
#include "storage/datafiles.h"
#include "storage/searchindex.h"
#include "storage/sqlite.h"
#include "testcore.h"

#include <QDir>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"Search.idx"_s;

const TSearchHit kDentist{u"poznamky"_s, u"mojepoznamky"_s, 1};
const TSearchHit kJana{u"adresar"_s, u"mojekontakty"_s, 7};
const TSearchHit kMeeting{u"diar"_s, u"praca"_s, 3};

void fill(TSearchIndex& index) {
    index.begin();
    index.put(kDentist, 1, u"Zubár v piatok"_s, u"Objednať sa na 9:00, vziať kartičku."_s);
    index.put(kJana, 2, u"Jana Nováková"_s, u"Hlavná 12 Bratislava jana@example.sk"_s);
    index.put(kMeeting, 3, u"Porada"_s, u"Zasadačka 3, čísla za NOVEMBER"_s);
    index.commit();
}

} // namespace

class TestSearchIndex : public QObject {
    Q_OBJECT
private slots:
    // Several words must all match, each by its start, case and accents
    // aside; the texts come in whatever characters the user typed.
    void findsByWordStarts_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QList<TSearchHit>>("hits");
        QTest::newRow("accents left out") << u"zubar"_s << QList<TSearchHit>{kDentist};
        QTest::newRow("upper case, a start") << u"ZUB"_s << QList<TSearchHit>{kDentist};
        QTest::newRow("accents typed") << u"Nováková"_s << QList<TSearchHit>{kJana};
        QTest::newRow("two words, any order") << u"nov jan"_s << QList<TSearchHit>{kJana};
        QTest::newRow("words of two records") << u"jana zubar"_s << QList<TSearchHit>{};
        QTest::newRow("from the text") << u"kartic obj"_s << QList<TSearchHit>{kDentist};
        QTest::newRow("a start of several") << u"nov"_s << QList<TSearchHit>{kJana, kMeeting};
        QTest::newRow("inside a word is no start") << u"kova"_s << QList<TSearchHit>{};
        QTest::newRow("digits") << u"12"_s << QList<TSearchHit>{kJana};
        QTest::newRow("a mail address's parts") << u"jana@example"_s << QList<TSearchHit>{kJana};
    }
    void findsByWordStarts() {
        QFETCH(QString, search);
        QFETCH(QList<TSearchHit>, hits);
        TempHome home;
        TSearchIndex index(kFile);
        QVERIFY(index.usable());
        fill(index);
        QList<TSearchHit> found = index.find(search);
        std::sort(found.begin(), found.end(),
                  [](const TSearchHit& a, const TSearchHit& b) { return a.kind < b.kind; });
        QCOMPARE(found, hits);
        QCOMPARE(index.fault(), QString());
    }

    // A search text is never query syntax: quotes, operators, stars,
    // brackets, a lone minus, control characters, emoji and 10,000
    // characters are words or nothing, never an error.
    void hostileSearches_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("hits");
        QTest::newRow("quotes") << u"\"zubár\""_s << 1;
        QTest::newRow("an unbalanced quote") << u"zub\""_s << 1;
        QTest::newRow("a star") << u"zub*"_s << 1;
        QTest::newRow("a lone star") << u"*"_s << 0;
        QTest::newRow("NEAR") << u"NEAR(zubar porada)"_s << 0;
        QTest::newRow("AND OR NOT as words") << u"zubar OR porada"_s << 0;
        QTest::newRow("NOT first") << u"NOT zubar"_s << 0;
        QTest::newRow("brackets") << u"(zubar"_s << 1;
        QTest::newRow("a lone minus") << u"-"_s << 0;
        QTest::newRow("a minus before") << u"-zubar"_s << 1;
        QTest::newRow("a column filter") << u"title:porada"_s << 0;
        QTest::newRow("a caret") << u"^zubar"_s << 1;
        QTest::newRow("control characters") << u"zub\u0001\u0000ar\u007f"_s << 0;
        QTest::newRow("emoji") << u"\U0001F600 porada \U0001F600"_s << 1;
        QTest::newRow("only emoji") << u"\U0001F600"_s << 0;
        QTest::newRow("10,000 characters") << QString(10000, u'z') << 0;
        QTest::newRow("1,000 words") << u"zu "_s.repeated(1000) << 1;
        QTest::newRow("empty") << QString() << 0;
    }
    void hostileSearches() {
        QFETCH(QString, search);
        QFETCH(int, hits);
        TempHome home;
        TSearchIndex index(kFile);
        fill(index);
        QCOMPARE(index.find(search).size(), hits);
        QCOMPARE(index.fault(), QString());
    }

    // The piece of a found record's text the results show: around the
    // first word a search's word starts, that word marked, as HTML.
    void snippets_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("snippet");
        QTest::newRow("accents and case aside")
            << u"Objednať sa k Zubárovi\r\nv piatok"_s << u"zubar"_s
            << u"Objednať sa k <b>Zubárovi</b> v piatok"_s;
        QTest::newRow("the first of two words")
            << u"mlieko a chlieb"_s << u"chl mli"_s << u"<b>mlieko</b> a chlieb"_s;
        QTest::newRow("inside a word is no start")
            << u"pokazený zub"_s << u"zub"_s << u"pokazený <b>zub</b>"_s;
        QTest::newRow("HTML in the text")
            << u"<i>a&b</i> zub"_s << u"zub"_s << u"&lt;i&gt;a&amp;b&lt;/i&gt; <b>zub</b>"_s;
        QTest::newRow("far into the text")
            << QString(100, u'x') + u" zub "_s + QString(100, u'y') << u"zub"_s
            << u"…"_s + QString(29, u'x') + u" <b>zub</b> "_s + QString(69, u'y') + u"…"_s;
        QTest::newRow("no word matches") << u"kratky text"_s << u"nic"_s << u"kratky text"_s;
    }
    void snippets() {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, snippet);
        QCOMPARE(SearchSnippet(text, search), snippet);
    }

    // A record changed, removed, a group dropped, one kind and group asked
    // for; all of it kept in the file with the records' hashes and the
    // files' stamps.
    void keptByRecordAndGroup() {
        TempHome home;
        const TSearchHit other{u"diar"_s, u"doma"_s, 3};
        {
            TSearchIndex index(kFile);
            fill(index);
            index.put(kDentist, 11, u"Kaderník"_s, QString());
            QCOMPARE(index.find(u"zubar"_s), QList<TSearchHit>{});
            QCOMPARE(index.find(u"kadernik"_s), QList<TSearchHit>{kDentist});
            index.remove(kJana);
            QCOMPARE(index.find(u"nov"_s), QList<TSearchHit>{kMeeting});
            index.put(kJana, 2, u"Jana Nováková"_s, QString());
            index.put(other, 4, u"Porada doma"_s, QString());
            QCOMPARE(index.find(u"porada"_s, u"diar"_s, u"doma"_s), QList<TSearchHit>{other});
            QCOMPARE(index.find(u"porada"_s, u"poznamky"_s), QList<TSearchHit>{});
            QCOMPARE(index.tables(u"diar"_s), (QStringList{u"doma"_s, u"praca"_s}));
            index.removeGroup(u"diar"_s, u"praca"_s);
            QCOMPARE(index.find(u"porada"_s), QList<TSearchHit>{other});
            index.setFileStamp(u"data/Notes.dbf"_s, "stamp");
            // An id beyond what a row holds (another tool's) is left out.
            index.put({u"diar"_s, u"doma"_s, qint64(1) << 41}, 5, u"Obrovské"_s, QString());
            QCOMPARE(index.find(u"obrovske"_s), QList<TSearchHit>{});
        }
        TSearchIndex again(kFile);
        QCOMPARE(again.find(u"jana"_s), QList<TSearchHit>{kJana});
        QCOMPARE(again.tables(u"diar"_s), QStringList{u"doma"_s});
        QCOMPARE(again.hashes(u"poznamky"_s, u"mojepoznamky"_s), (QHash<qint64, qint64>{{1, 11}}));
        QCOMPARE(again.fileStamp(u"data/Notes.dbf"_s), QByteArray("stamp"));
        QCOMPARE(again.fileStamp(u"data/Diary.dbf"_s), QByteArray());
    }

    // The index follows a data file, whoever changes it: the records and
    // groups shown are found, what changed is put in again, what is binned,
    // dropped or gone is taken out; a file as it was is not read again.
    void followsTheDataFile() {
        TempHome home;
        QDir().mkpath(u"data"_s);
        DataModules modules;
        CreateDataFile(modules.poznamky, u"Moje poznámky"_s);
        const TSearchSource notes(u"poznamky"_s, modules.poznamky, u"predmet"_s, u"obsah"_s);
        // Another program's connection, as the Windows program's would be.
        const auto change = [](const QString& sql) {
            TSQLiteDatabase db(u"data/Notes.dbf"_s);
            db.Execute(sql);
        };
        const auto found = [](TSearchIndex& index, const QString& search) {
            QStringList ids;
            for (const TSearchHit& hit : index.find(search))
                ids.append(hit.table + u'/' + QString::number(hit.id));
            ids.sort();
            return ids;
        };
        change(u"INSERT INTO mojepoznamky(predmet,obsah,viditelnost) VALUES('Zubár','piatok',1),"
               u"('Nákup','mlieko',1),('Starý','v koši',0)"_s);
        change(GroupTableDefinition(u"praca"_s, modules.poznamky.columns));
        change(
            u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('praca','Práca',1)"_s);
        change(u"INSERT INTO praca(predmet,obsah,viditelnost) VALUES('Porada','zubár',1)"_s);
        TSearchIndex index(kFile);
        QVERIFY(UpdateSearchIndex(index, notes));
        QCOMPARE(found(index, u"zubar"_s), (QStringList{u"mojepoznamky/1"_s, u"praca/1"_s}));
        QCOMPARE(found(index, u"stary"_s), QStringList());
        QVERIFY(!UpdateSearchIndex(index, notes));

        change(u"UPDATE mojepoznamky SET obsah='sobota' WHERE id=1"_s);
        change(u"UPDATE mojepoznamky SET viditelnost=0 WHERE id=2"_s);
        change(u"UPDATE mojepoznamky SET viditelnost=1 WHERE id=3"_s);
        QVERIFY(UpdateSearchIndex(index, notes));
        QCOMPARE(found(index, u"sobota"_s), QStringList{u"mojepoznamky/1"_s});
        QCOMPARE(found(index, u"piatok"_s), QStringList());
        QCOMPARE(found(index, u"mlieko"_s), QStringList());
        QCOMPARE(found(index, u"stary kosi"_s), QStringList{u"mojepoznamky/3"_s});

        change(u"UPDATE tables SET viditelnost=0 WHERE nametable='praca'"_s);
        QVERIFY(UpdateSearchIndex(index, notes));
        QCOMPARE(found(index, u"porada"_s), QStringList());
        change(u"UPDATE tables SET viditelnost=1 WHERE nametable='praca'"_s);
        QVERIFY(UpdateSearchIndex(index, notes));
        QCOMPARE(found(index, u"porada"_s), QStringList{u"praca/1"_s});
        change(u"DROP TABLE praca"_s);
        QVERIFY(UpdateSearchIndex(index, notes));
        QCOMPARE(found(index, u"porada"_s), QStringList());
        QCOMPARE(index.fault(), QString());

        // A look told to stop (the program ends) takes nothing in and keeps
        // no stamp: the next one does the work.
        change(
            u"INSERT INTO mojepoznamky(predmet,obsah,viditelnost) VALUES('Kino','v sobotu',1)"_s);
        const std::atomic<bool> stop{true};
        QVERIFY(!UpdateSearchIndex(index, notes, &stop));
        QCOMPARE(found(index, u"kino"_s), QStringList());
        QVERIFY(UpdateSearchIndex(index, notes));
        QCOMPARE(found(index, u"kino"_s), QStringList{u"mojepoznamky/4"_s});
    }

    // A damaged file or one of another layout is made anew, empty; a folder
    // in its place leaves the index unusable, and nothing fails.
    void aFileThatCannotBeUsed_data() {
        QTest::addColumn<QByteArray>("bytes"); // empty: a folder
        QTest::addColumn<bool>("usable");
        QTest::newRow("garbage") << QByteArray(5000, 'x') << true;
        QTest::newRow("a database's header, then garbage")
            << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xff') << true;
        QTest::newRow("a folder") << QByteArray() << false;
    }
    void aFileThatCannotBeUsed() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, usable);
        TempHome home;
        if (bytes.isEmpty())
            QDir().mkdir(kFile);
        else
            WriteFileBytes(kFile, bytes);
        TSearchIndex index(kFile);
        QCOMPARE(index.usable(), usable);
        QCOMPARE(index.find(u"zubar"_s), QList<TSearchHit>{});
        fill(index);
        QCOMPARE(index.find(u"zubar"_s).size(), usable ? 1 : 0);
        QCOMPARE(index.fault().isEmpty(), usable);
    }

    void anotherLayoutIsMadeAnew() {
        TempHome home;
        {
            TSearchIndex index(kFile);
            fill(index);
        }
        sqlite3* db = nullptr;
        sqlite3_open(kFile.toUtf8().constData(), &db);
        sqlite3_exec(db, "PRAGMA user_version=7", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        TSearchIndex index(kFile);
        QVERIFY(index.usable());
        QCOMPARE(index.find(u"zubar"_s), QList<TSearchHit>{});
    }
};

QTEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
