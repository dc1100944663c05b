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

namespace {

// The list's work in C: the same query, each row's long day written into one
// text ("utorok 8 december 2026", UTF-8) and its id kept.
double captionFloorMs() {
    static const char* const kDays[] = {"nedeľa",  "pondelok", "utorok", "streda",
                                        "štvrtok", "piatok",   "sobota"};
    static const char* const kMonths[] = {"január",    "február", "marec",    "apríl",
                                          "máj",       "jún",     "júl",      "august",
                                          "september", "október", "november", "december"};
    static constexpr int kShift[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    std::string text;
    std::vector<long long> ids;
    std::vector<std::size_t> ends;
    return RawFloorEachMs(
        "data/Diary.dbf", "SELECT id, datum FROM mojdennik WHERE viditelnost=1 ORDER BY datum, id",
        [&](sqlite3_stmt* row) {
            ids.push_back(sqlite3_column_int64(row, 0));
            // Parsed and written by hand, as quick as C gets without tables.
            const auto* d = sqlite3_column_text(row, 1);
            const auto digits = [d](int from, int n) {
                int v = 0;
                for (int i = from; i < from + n; ++i)
                    v = v * 10 + (d[i] - '0');
                return v;
            };
            const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
            const int y = month < 3 ? year - 1 : year;
            const int weekday = (y + y / 4 - y / 100 + y / 400 + kShift[month - 1] + day) % 7;
            text += kDays[weekday];
            text += ' ';
            if (day >= 10)
                text += char('0' + day / 10);
            text += char('0' + day % 10);
            text += ' ';
            text += kMonths[month - 1];
            text += ' ';
            text.append(reinterpret_cast<const char*>(d), 4);
            ends.push_back(text.size());
        });
}

} // namespace

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 7);
    TempHome home;
    StartOn("dennik");
    TestProgram program;
    if (!StartProgram(program))
        return 1;
    auto* journal = static_cast<Tformdennik*>(program.record(QStringLiteral("dennik")));
    std::printf("journal refresh, medians of %d rounds\n", rounds);
    std::printf("  %8s %12s %14s %12s %8s %8s %14s\n", "entries", "raw SQLite", "C with captions",
                "Aktualizuj", "ratio", "ratio C", "peak RSS");
    for (const int count : {1000, 10000, 100000}) {
        Execute("data/Diary.dbf",
                {"DELETE FROM mojdennik",
                 "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM c WHERE i<" +
                     std::to_string(count - 1) +
                     ") INSERT INTO mojdennik(datum,obsah,viditelnost) SELECT "
                     "date('1800-01-01','+'||i||' days'), 'Dnes bol pekný deň.', 1 FROM c"});
        std::vector<double> floor, formatted, ours;
        for (int round = 0; round < rounds; ++round) {
            floor.push_back(RawFloorMs(
                "data/Diary.dbf",
                {"SELECT id, datum FROM mojdennik WHERE viditelnost=1 ORDER BY datum, id",
                 "SELECT COUNT(*) FROM tables WHERE viditelnost=1"}));
            formatted.push_back(captionFloorMs());
            ours.push_back(TimedMs([&] { journal->Aktualizuj(); }));
        }
        const double f = Median(floor), c = Median(formatted), o = Median(ours);
        std::printf("  %8d %9.2f ms %11.2f ms %9.2f ms %7.2fx %7.2fx %10.1f MiB\n", count, f, c, o,
                    o / f, o / c, StatusMiB("VmHWM:"));
    }
    return 0;
}
