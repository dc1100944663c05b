// Journal refresh benchmark: Aktualizuj of the journal (the list of days,
// title, status line) at 1,000, 10,000 and 100,000 entries, one a day,
// beside the raw SQLite floor for the same queries measured in the same run.
//
//   journal_refresh [rounds]
#include "benchprogram.h"
#include "benchsupport.h"
#include "journal/formdennik.h"
#include "testsupport.h"

#include <cstdio>

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 7);
    TempHome home;
    StartOn("dennik");
    TestProgram program;
    if (!program.start())
        return 1;
    auto* journal = static_cast<Tformdennik*>(program.record(QStringLiteral("dennik")));
    std::printf("journal refresh, medians of %d rounds\n", rounds);
    std::printf("  %8s %12s %12s %8s %14s\n", "entries", "raw SQLite", "Aktualizuj", "ratio",
                "peak RSS");
    for (const int count : {1000, 10000, 100000}) {
        Execute("data/Diary.dbf",
                {"DELETE FROM mojdennik",
                 "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM c WHERE i<" +
                     std::to_string(count - 1) +
                     ") INSERT INTO mojdennik(datum,obsah,viditelnost) SELECT "
                     "date('1800-01-01','+'||i||' days'), 'Dnes bol pekný deň.', 1 FROM c"});
        std::vector<double> floor, ours;
        for (int round = 0; round < rounds; ++round) {
            floor.push_back(RawFloorMs(
                "data/Diary.dbf",
                {"SELECT id, datum FROM mojdennik WHERE viditelnost=1 ORDER BY datum, id",
                 "SELECT COUNT(*) FROM tables WHERE viditelnost=1"}));
            ours.push_back(TimedMs([&] { journal->Aktualizuj(); }));
        }
        const double f = Median(floor), o = Median(ours);
        std::printf("  %8d %9.2f ms %9.2f ms %7.2fx %10.1f MiB\n", count, f, o, o / f,
                    StatusMiB("VmHWM:"));
    }
    return 0;
}
