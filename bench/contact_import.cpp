// Contact import and export benchmark: 100,000 contact lines (15 filled
// fields, accented names, Windows-1250) imported through the address book
// with the map unchanged, beside the sqlite3 shell's .import of the same
// file into a table of 24 text columns in the same database file; then the
// export of the 100,000 beside raw SQLite reading them. The import's heap
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
    std::vector<double> shell, ours;
    for (int round = 0; round < rounds; ++round) {
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
    std::printf("  import of 100,000 lines: sqlite3 .import %.1f ms, ours %.1f ms, ratio %.2fx\n",
                Median(shell), Median(ours), Median(ours) / Median(shell));
    std::printf("  heap after importing 10,000 lines %+.1f MiB, after 100,000 %+.1f MiB; "
                "peak RSS %.1f MiB\n",
                (afterSmall - before) / 1048576.0, (afterBig - before) / 1048576.0,
                StatusMiB("VmHWM:"));

    // The export: the list as it is (by surname), all 100,000.
    book->sortClick(0);
    std::vector<double> floor, exported;
    for (int round = 0; round < rounds; ++round) {
        floor.push_back(RawFloorMs(
            "data/Addressbook.dbf",
            {"SELECT meno,priezvisko,ulica,psc,mesto,stat,tel1,tel2,mob1,mob2,mob3,fax,mail1,"
             "mail2,mail3,web,icq,skype,irc,jabber,msn,yahoo,ain,gadugadu FROM \"mojekontakty\" "
             "WHERE viditelnost=1 ORDER BY id  "}));
        program.t.dialogs.fileNames = {QDir::current().filePath(u"export.txt"_s)};
        exported.push_back(TimedMs([&] { book->exportClick(); }));
    }
    std::printf("  export of 100,000: raw SQLite %.1f ms, ours %.1f ms, ratio %.2fx\n",
                Median(floor), Median(exported), Median(exported) / Median(floor));
    return 0;
}
