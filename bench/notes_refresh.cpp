// Notes refresh benchmark: Aktualizuj of the notes window (list, title,
// status line) at 1,000, 10,000 and 100,000 notes in the current group,
// beside the raw SQLite floor for the same list measured in the same run:
// open, the two pragmas, read id and predmet of the visible rows in order,
// close. Also the memory the list holds per listed note (the heap in use
// after the refresh, against 1,000 notes), and an activation of the window
// with nothing changed, which keeps the list. Then, at 100,000 notes, the
// reading pane: a refresh with the pane hidden against one with it shown,
// and 100 moves of the selection with the arrow key, each of which reads
// and shows one note, beside the raw SQLite floor of reading that one row.
//
//   notes_refresh [rounds]
#include "benchprogram.h"
#include "benchsupport.h"
#include "notes/formpoznamky.h"
#include "testsupport.h"

#include <QTest>
#include <QTreeView>
#include <cstdio>

namespace {

void fill(int count) {
    sqlite3* db = nullptr;
    sqlite3_open("data/Notes.dbf", &db);
    sqlite3_exec(db, "DELETE FROM mojepoznamky; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO mojepoznamky(predmet,obsah,datum,datumzmeny,viditelnost) "
                       "VALUES(?,?,'2026-12-08 10:00:00','2026-12-08 10:00:00',1)",
                       -1, &insert, nullptr);
    const std::string body(500, 'b');
    for (int i = 0; i < count; ++i) {
        const std::string subject = "Poznamka cislo " + std::to_string(100000 + i);
        sqlite3_bind_text(insert, 1, subject.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, body.c_str(), -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 7);
    TempHome home;
    StartOn("poznamky");
    TestProgram program;
    if (!StartProgram(program))
        return 1;
    auto* notes = static_cast<TFormpoznamky*>(program.record(QStringLiteral("poznamky")));
    std::printf("notes refresh, medians of %d rounds\n", rounds);
    std::printf("  %8s %12s %12s %8s %14s %12s %12s\n", "notes", "raw SQLite", "Aktualizuj",
                "ratio", "peak RSS", "per note", "activation");
    double heapAtFirst = 0;
    int firstCount = 0;
    for (int count : {1000, 10000, 100000}) {
        fill(count);
        std::vector<double> floor, ours, activations;
        for (int round = 0; round < rounds; ++round) {
            floor.push_back(RawFloorMs(
                "data/Notes.dbf",
                {"SELECT id, predmet FROM mojepoznamky where viditelnost=1 ORDER BY id"}));
            ours.push_back(TimedMs([&] { notes->Aktualizuj(); }));
            activations.push_back(TimedMs([&] { notes->FormActivate(); }));
        }
        const double heap = HeapInUse();
        if (firstCount == 0) {
            heapAtFirst = heap;
            firstCount = count;
        }
        const double perNote = count > firstCount ? (heap - heapAtFirst) / (count - firstCount) : 0;
        const double f = Median(floor), o = Median(ours);
        std::printf("  %8d %9.2f ms %9.2f ms %7.2fx %10.1f MiB %10.0f B %9.3f ms\n", count, f, o,
                    o / f, StatusMiB("VmHWM:"), perNote, Median(activations));
    }

    // The pane: shown (as it starts) and hidden, in turns.
    std::vector<double> shown, hidden;
    for (int round = 0; round < rounds; ++round) {
        shown.push_back(TimedMs([&] { notes->Aktualizuj(); }));
        notes->citaciatablaClick();
        hidden.push_back(TimedMs([&] { notes->Aktualizuj(); }));
        notes->citaciatablaClick();
    }
    std::printf("refresh of 100000 notes: pane hidden %.2f ms, shown %.2f ms (%+.1f %%)\n",
                Median(hidden), Median(shown), (Median(shown) / Median(hidden) - 1) * 100);
    auto* list = notes->findChild<QTreeView*>(QStringLiteral("zoznam"));
    list->setFocus();
    std::vector<double> moves, rows;
    for (int move = 0; move < 100; ++move) {
        moves.push_back(TimedMs([&] { QTest::keyClick(list, Qt::Key_Down); }));
        rows.push_back(RawFloorMs("data/Notes.dbf",
                                  {"SELECT predmet, datum, datumzmeny, obsah FROM mojepoznamky "
                                   "WHERE id=" +
                                   std::to_string(move + 2)}));
    }
    std::printf("arrow key with the pane, 100 moves: median %.3f ms, slowest %.3f ms; raw SQLite "
                "one row %.3f ms (%.2fx)\n",
                Median(moves), *std::max_element(moves.begin(), moves.end()), Median(rows),
                Median(moves) / Median(rows));
    return 0;
}
