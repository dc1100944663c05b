// Diary benchmark: the day refresh, the all refresh and the search for the
// pending reminder, with 100,000 entries in one group and spread over 50
// groups, each beside the raw SQLite floor for the same work measured in the
// same run: open, the two pragmas, the same query stepped through, close.
//
//   diary_refresh [rounds]
#include "diary/formdiar.h"
#include "shell/reminders.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
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

sqlite3* openRaw() {
    sqlite3* db = nullptr;
    sqlite3_open("data/Reminders.dbf", &db);
    return db;
}

// Entries over a year of days, one in ten armed, in `groups` groups.
void fill(int groups) {
    sqlite3* db = openRaw();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int g = 1; g < groups; ++g) {
        const std::string table = "skupina" + std::to_string(g);
        sqlite3_exec(db,
                     ("CREATE TABLE " + table +
                      "([id] INTEGER PRIMARY KEY, [datum] date,[avizo] datetime,[alarm] INTEGER,"
                      "[predmet] warchar(30),[obsah] text,[viditelnost] integer);"
                      "INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('" +
                      table + "','" + table + "',1)")
                         .c_str(),
                     nullptr, nullptr, nullptr);
    }
    for (int i = 0; i < kEntries; ++i) {
        const int g = i % groups;
        const std::string table = g == 0 ? "mojdiar" : "skupina" + std::to_string(g);
        const int dayOfYear = (i * 7) % 365;
        char day[16], moment[32];
        const QDate date = QDate(2026, 1, 1).addDays(dayOfYear);
        std::snprintf(day, sizeof day, "%04d-%02d-%02d", date.year(), date.month(), date.day());
        std::snprintf(moment, sizeof moment, "%s %02d:%02d:00", day, (i / 60) % 24, i % 60);
        const std::string sql = "INSERT INTO " + table +
                                "(datum,avizo,alarm,predmet,obsah,viditelnost) VALUES('" + day +
                                "','" + moment + "'," + (i % 10 == 0 ? "1" : "0") +
                                ",'Zapis cislo " + std::to_string(i) + "','text',1)";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The floor: the same statements, stepped through with nothing kept.
double raw(const std::vector<std::string>& queries) {
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = openRaw();
    sqlite3_exec(db, "PRAGMA SYNCHRONOUS=NORMAL;", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA temp_store = MEMORY;", nullptr, nullptr, nullptr);
    for (const std::string& sql : queries) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                sqlite3_column_text(stmt, c);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return double(timer.nsecsElapsed()) / 1e6;
}

double timed(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double peakMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void row(const char* what, int rounds, const std::function<double()>& floor,
         const std::function<void()>& ours) {
    std::vector<double> f, o;
    for (int round = 0; round < rounds; ++round) {
        f.push_back(floor());
        o.push_back(timed(ours));
    }
    const double fm = median(f), om = median(o);
    std::printf("    %-22s %9.2f ms %9.2f ms %7.2fx\n", what, fm, om, om / fm);
}

} // namespace

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    std::printf("diary, %d entries, medians of %d rounds\n", kEntries, rounds);
    std::printf("    %-22s %12s %12s %8s\n", "", "raw SQLite", "velmorand", "ratio");
    for (const int groups : {1, 50}) {
        TempHome home;
        TSettings settings;
        settings.lastWindow = QStringLiteral("diar");
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        TestProgram program;
        program.t.clock.current = QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC);
        if (!program.start())
            return 1;
        fill(groups);
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
            "day refresh", rounds, [&] { return raw(dayWork); }, [&] { diary->Aktualizujden(); });
        row(
            "all refresh", rounds,
            [&] {
                return raw(
                    {"SELECT id, datum, avizo, predmet FROM mojdiar WHERE viditelnost=1 ORDER "
                     "BY avizo",
                     "SELECT COUNT(*) FROM mojdiar WHERE viditelnost=1",
                     "SELECT COUNT(*) FROM tables WHERE viditelnost=1"});
            },
            [&] { diary->Aktualizujvsetko(); });
        row(
            "reminder search", rounds, [&] { return raw(search); },
            [&] { reminders.Najdizaznam(); });
        std::printf("    peak RSS %.1f MiB\n", peakMiB());
    }
    return 0;
}
