// Diary benchmark: the day refresh, the all refresh and the search for the
// pending reminder, with 100,000 entries in one group and spread over 50
// groups, each beside the raw SQLite floor for the same work measured in the
// same run: open, the two pragmas, the same query stepped through, close.
//
//   diary_refresh [rounds]
#include "benchprogram.h"
#include "benchsupport.h"
#include "diary/formdiar.h"
#include "shell/reminders.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 100000;
const char* const kDay = "2026-12-08";

void row(const char* what, int rounds, const std::function<double()>& floor,
         const std::function<void()>& ours) {
    std::vector<double> f, o;
    for (int round = 0; round < rounds; ++round) {
        f.push_back(floor());
        o.push_back(TimedMs(ours));
    }
    const double fm = Median(f), om = Median(o);
    std::printf("    %-22s %9.2f ms %9.2f ms %7.2fx\n", what, fm, om, om / fm);
}

} // namespace

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 7);
    std::printf("diary, %d entries, medians of %d rounds\n", kEntries, rounds);
    std::printf("    %-22s %12s %12s %8s\n", "", "raw SQLite", "velmorand", "ratio");
    for (const int groups : {1, 50}) {
        TempHome home;
        StartOn("diar");
        TestProgram program;
        program.t.clock.current = QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC);
        if (!StartProgram(program))
            return 1;
        FillDiary("data/Reminders.dbf", kEntries, groups, 2026);
        auto* diary = static_cast<Tformdiar*>(program.record(QStringLiteral("diar")));
        TReminders& reminders = program.windows.reminders();
        reminders.Najdizaznam(); // the indexes, made once
        std::printf("  %d group%s\n", groups, groups == 1 ? "" : "s");
        const std::string day = std::string("SELECT id, datum, avizo, predmet FROM mojdiar WHERE "
                                            "(viditelnost=1) AND (datum='") +
                                kDay + "') ORDER BY avizo";
        std::vector<std::string> search{"SELECT * FROM tables where viditelnost=1"};
        search.push_back("SELECT id, predmet, avizo FROM mojdiar WHERE (viditelnost=1) AND "
                         "(alarm=1) ORDER BY avizo LIMIT 1");
        for (int g = 1; g < groups; ++g)
            search.push_back("SELECT id, predmet, avizo FROM skupina" + std::to_string(g) +
                             " WHERE (viditelnost=1) AND (alarm=1) ORDER BY avizo LIMIT 1");
        // A day's list looks for the pending reminder again: so does its floor.
        std::vector<std::string> dayWork{day, "SELECT COUNT(*) FROM mojdiar WHERE viditelnost=1",
                                         "SELECT COUNT(*) FROM tables WHERE viditelnost=1"};
        dayWork.insert(dayWork.end(), search.begin(), search.end());
        row(
            "day refresh", rounds, [&] { return RawFloorMs("data/Reminders.dbf", dayWork); },
            [&] { diary->Aktualizujden(); });
        row(
            "all refresh", rounds,
            [&] {
                return RawFloorMs(
                    "data/Reminders.dbf",
                    {"SELECT id, datum, avizo, predmet FROM mojdiar WHERE viditelnost=1 ORDER "
                     "BY avizo",
                     "SELECT COUNT(*) FROM mojdiar WHERE viditelnost=1",
                     "SELECT COUNT(*) FROM tables WHERE viditelnost=1"});
            },
            [&] { diary->Aktualizujvsetko(); });
        row(
            "reminder search", rounds, [&] { return RawFloorMs("data/Reminders.dbf", search); },
            [&] { reminders.Najdizaznam(); });
        std::printf("    peak RSS %.1f MiB\n", StatusMiB("VmHWM:"));
    }
    return 0;
}
