// Emptying the bin: 100,000 notes in the bin (a 200-character text each)
// beside 1,000 shown ones, emptied through the settings page's button; the
// floor is raw SQLite deleting the same rows and compacting the file, on an
// identical copy. Reports the times and the file's size before and after.
//
//   empty_bin [rounds]
#include "benchprogram.h"
#include "benchsupport.h"
#include "shell/formvelmorand.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

void fillNotes(const char* file) {
    Execute(file, {"DELETE FROM mojepoznamky",
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE "
                   "i<101000) INSERT INTO mojepoznamky(predmet, obsah, datum, viditelnost) "
                   "SELECT 'Poznámka ' || i, hex(randomblob(100)), '2026-12-08 10:00:00', "
                   "i % 101 = 0 FROM n",
                   "VACUUM"});
}

} // namespace

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 5);
    TempHome home;
    TestProgram program;
    if (!StartProgram(program))
        return 1;
    std::printf("emptying the bin, medians of %d rounds\n", rounds);
    std::vector<double> floor, ours;
    qint64 before = 0, after = 0, floorAfter = 0;
    for (int round = 0; round < rounds; ++round) {
        fillNotes("data/Notes.dbf");
        QFile::remove(u"floor.dbf"_s);
        QFile::copy(u"data/Notes.dbf"_s, u"floor.dbf"_s);
        before = QFileInfo(u"data/Notes.dbf"_s).size();
        floor.push_back(TimedMs([] {
            sqlite3* db = nullptr;
            sqlite3_open("floor.dbf", &db);
            sqlite3_exec(db, "DELETE FROM mojepoznamky WHERE viditelnost=0", nullptr, nullptr,
                         nullptr);
            sqlite3_exec(db, "VACUUM", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }));
        floorAfter = QFileInfo(u"floor.dbf"_s).size();
        program.t.dialogs.answers = {IDialogs::Answer::Yes};
        ours.push_back(TimedMs([&] { program.main->findChild<QPushButton*>(u"kos"_s)->click(); }));
        after = QFileInfo(u"data/Notes.dbf"_s).size();
    }
    std::printf("  100,000 binned notes of 101,000: raw SQLite %.1f ms, ours %.1f ms (all five "
                "files), ratio %.2fx\n",
                Median(floor), Median(ours), Median(ours) / Median(floor));
    std::printf("  data/Notes.dbf %.1f MiB before, %.2f MiB after (raw SQLite %.2f MiB)\n",
                double(before) / 1048576.0, double(after) / 1048576.0,
                double(floorAfter) / 1048576.0);
    return 0;
}
