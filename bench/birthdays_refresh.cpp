// Birthdays benchmark: Aktualizuj of the birthdays window (the list with the
// ages) at 10,000 and 100,000 people in each of its three orders, and the
// notice of today's birthdays at start, beside the raw SQLite floor for the
// same queries measured in the same run.
//
//   birthdays_refresh [rounds]
#include "benchprogram.h"
#include "benchsupport.h"
#include "birthdays/birthdaynotice.h"
#include "birthdays/formnarodky.h"
#include "testsupport.h"

#include <cstdio>

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 7);
    TempHome home;
    StartOn("narodky");
    TestProgram program;
    if (!StartProgram(program))
        return 1;
    auto* birthdays = static_cast<Tformnarodky*>(program.record(QStringLiteral("narodky")));
    std::printf("birthdays refresh and notice, medians of %d rounds\n", rounds);
    std::printf("  %8s %-20s %12s %12s %8s %14s\n", "people", "order", "raw SQLite", "ours",
                "ratio", "peak RSS");
    const auto report = [](int count, const char* what, double f, double o) {
        std::printf("  %8d %-20s %9.2f ms %9.2f ms %7.2fx %10.1f MiB\n", count, what, f, o, o / f,
                    StatusMiB("VmHWM:"));
    };
    for (const int count : {10000, 100000}) {
        // Births spread over 80 years; a few hundred share each day of the year.
        Execute("data/Birth.dbf",
                {"DELETE FROM narodky",
                 "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM c WHERE i<" +
                     std::to_string(count - 1) +
                     "), b(i, d) AS (SELECT i, date('1930-01-01', '+'||(i*7919 % 29000)||' days') "
                     "FROM c) INSERT INTO narodky(meno,poradie,narodenie,viditelnost) SELECT "
                     "'Osoba '||i, '2000'||substr(d,5)||' 00:00:00', d||' 00:00:00', 1 FROM b"});
        for (const char* order : {"ORDER BY meno", "ORDER BY poradie", "ORDER BY narodenie"}) {
            birthdays->module().order = QString::fromLatin1(order);
            std::vector<double> floor, ours;
            for (int round = 0; round < rounds; ++round) {
                floor.push_back(RawFloorMs("data/Birth.dbf",
                                           {std::string("SELECT id, meno, narodenie FROM narodky "
                                                        "NOT INDEXED WHERE viditelnost=1 ") +
                                            order + "  "}));
                ours.push_back(TimedMs([&] { birthdays->Aktualizuj(); }));
            }
            report(count, order, Median(floor), Median(ours));
        }
        std::vector<double> floor, ours;
        for (int round = 0; round < rounds; ++round) {
            floor.push_back(
                RawFloorMs("data/Birth.dbf", {"SELECT meno FROM narodky WHERE viditelnost=1 AND "
                                              "poradie='2000-12-08 00:00:00'"}));
            ours.push_back(TimedMs([&] { Najdinarodky(program.t.context); }));
        }
        report(count, "notice at start", Median(floor), Median(ours));
    }
    return 0;
}
