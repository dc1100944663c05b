// Contact import and export benchmark: 100,000 contact lines (15 filled
// fields, accented names, Windows-1250) imported through the address book
// with the map unchanged, beside two floors: the sqlite3 shell's .import of
// the same file into a table of 24 text columns, and a C loop doing the
// import's own work (read, split at ";", bind 24 values, insert, all in one
// transaction); then the export of the 100,000 beside a C loop that reads
// the same rows and writes them as lines. The import's heap
// is measured at 10,000 and 100,000 lines: it streams, so it stays flat.
//
//   contact_import [rounds]
#include "addressbook/formadresar.h"
#include "addressbook/formnastavinport.h"
#include "benchprogram.h"
#include "benchsupport.h"
#include "storage/text1250.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void writeContacts(const QString& path, int count) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (int i = 0; i < count; ++i) {
        const QString line =
            u"Ľubomír%1;Šťastný%2;Hlavná %1;811 0%3;Žilina;Slovensko;02/%1;;0905 %1;;;;"
            u"ľubo%1@príklad.sk;;;www.príklad.sk/%1;%1;ľubo.%1;;;;yahoo%1;;"_s.arg(i)
                .arg(i % 997)
                .arg(i % 10);
        file.write(Cp1250::encode(line) + "\r\n");
    }
}

// Runs an import of the file through the window and waits for its end.
double importMs(TFormadresar* book, const QString& path) {
    book->importState().separator = ';';
    book->importState().fileName = path;
    book->importState().encoding = TextEncoding::Cp1250;
    book->importState().columnCount = 24;
    book->importState().resetMap();
    book->importState().skipHeader = false;
    return TimedMs([&] {
        book->Doinportuj();
        while (book->runningImport())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    });
}

// The import's work in plain C: the file read, each line split into 24
// values bound to one prepared INSERT, in one transaction.
double importFloorMs(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return TimedMs([&] {
        const QByteArray bytes = file.readAll();
        sqlite3* db = nullptr;
        sqlite3_open("data/Addressbook.dbf", &db);
        sqlite3_exec(db, "PRAGMA SYNCHRONOUS=NORMAL; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db,
            "INSERT INTO mojekontakty(meno,priezvisko,ulica,psc,mesto,stat,tel1,tel2,"
            "mob1,mob2,mob3,fax,mail1,mail2,mail3,web,icq,skype,irc,jabber,msn,"
            "yahoo,ain,gadugadu,viditelnost) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,"
            "?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,?23,?24,1)",
            -1, &insert, nullptr);
        const char* p = bytes.constData();
        const char* end = p + bytes.size();
        while (p < end) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
            const char* lineEnd = eol ? eol : end;
            const char* stop = lineEnd > p && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
            int field = 1;
            for (const char* start = p; field <= 24; ++field) {
                const char* sep =
                    static_cast<const char*>(std::memchr(start, ';', std::size_t(stop - start)));
                const char* valueEnd = sep ? sep : stop;
                sqlite3_bind_text(insert, field, start, int(valueEnd - start), SQLITE_STATIC);
                if (!sep)
                    break;
                start = sep + 1;
            }
            for (++field; field <= 24; ++field)
                sqlite3_bind_text(insert, field, "", 0, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
            p = lineEnd + 1;
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
}

// The export's work in plain C: the rows read and written as lines.
double exportFloorMs() {
    return TimedMs([] {
        sqlite3* db = nullptr;
        sqlite3_open("data/Addressbook.dbf", &db);
        sqlite3_stmt* rows = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT meno,priezvisko,ulica,psc,mesto,stat,tel1,tel2,mob1,mob2,mob3,"
                           "fax,mail1,mail2,mail3,web,icq,skype,irc,jabber,msn,yahoo,ain,gadugadu "
                           "FROM mojekontakty WHERE viditelnost=1 ORDER BY id",
                           -1, &rows, nullptr);
        std::FILE* out = std::fopen("floor-export.txt", "wb");
        while (sqlite3_step(rows) == SQLITE_ROW) {
            for (int c = 0; c < 24; ++c) {
                if (c > 0)
                    std::fputs(" ; ", out);
                std::fputs(reinterpret_cast<const char*>(sqlite3_column_text(rows, c)), out);
            }
            std::fputs("\r\n", out);
        }
        std::fclose(out);
        sqlite3_finalize(rows);
        sqlite3_close(db);
    });
}

} // namespace

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 5);
    TempHome home;
    StartOn("adresar");
    TestProgram program;
    if (!program.start())
        return 1;
    auto* book = static_cast<TFormadresar*>(program.record(QStringLiteral("adresar")));
    const QString small = QDir::current().filePath(u"small.txt"_s);
    const QString big = QDir::current().filePath(u"big.txt"_s);
    writeContacts(small, 10000);
    writeContacts(big, 100000);
    Execute("data/Addressbook.dbf",
            {"CREATE TABLE importfloor(meno,priezvisko,ulica,psc,mesto,stat,tel1,tel2,mob1,mob2,"
             "mob3,fax,mail1,mail2,mail3,web,icq,skype,irc,jabber,msn,yahoo,ain,gadugadu)"});

    std::printf("contact import and export, medians of %d rounds\n", rounds);
    // Listed by fax, which no line fills: the list after each import stays
    // empty, so the heap shows the import alone.
    book->sortClick(12);
    const double before = HeapInUse();
    importMs(book, small);
    const double afterSmall = HeapInUse();
    importMs(book, big);
    const double afterBig = HeapInUse();
    std::vector<double> shell, loop, ours;
    for (int round = 0; round < rounds; ++round) {
        Execute("data/Addressbook.dbf", {"DELETE FROM mojekontakty"});
        loop.push_back(importFloorMs(big));
        Execute("data/Addressbook.dbf", {"DELETE FROM importfloor", "DELETE FROM mojekontakty"});
        shell.push_back(TimedMs([&] {
            QProcess sqlite;
            sqlite.start(u"sqlite3"_s, {u"data/Addressbook.dbf"_s});
            sqlite.write(".mode list\n.separator ;\n.import " + big.toUtf8() + " importfloor\n");
            sqlite.closeWriteChannel();
            sqlite.waitForFinished(-1);
        }));
        ours.push_back(importMs(book, big));
    }
    std::printf("  import of 100,000 lines: sqlite3 .import %.1f ms, C loop %.1f ms, ours %.1f ms, "
                "ratio %.2fx the shell, %.2fx the loop\n",
                Median(shell), Median(loop), Median(ours), Median(ours) / Median(shell),
                Median(ours) / Median(loop));
    std::printf("  heap after importing 10,000 lines %+.1f MiB, after 100,000 %+.1f MiB; "
                "peak RSS %.1f MiB\n",
                (afterSmall - before) / 1048576.0, (afterBig - before) / 1048576.0,
                StatusMiB("VmHWM:"));

    // The export: the list as it is (by surname), all 100,000.
    book->sortClick(0);
    std::vector<double> floor, exported;
    for (int round = 0; round < rounds; ++round) {
        floor.push_back(exportFloorMs());
        program.t.dialogs.fileNames = {QDir::current().filePath(u"export.txt"_s)};
        exported.push_back(TimedMs([&] { book->exportClick(); }));
    }
    std::printf(
        "  export of 100,000: C loop reading and writing %.1f ms, ours %.1f ms, ratio %.2fx\n",
        Median(floor), Median(exported), Median(exported) / Median(floor));
    return 0;
}
