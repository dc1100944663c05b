// Address book benchmark: Aktualizuj of the address book at 10,000 and
// 100,000 contacts sorted by surname, by town, and by the first mail
// address (which a third of them have), and a sort command with its
// refresh at 100,000, beside the raw SQLite floor for the same queries
// measured in the same run.
//
//   addressbook_refresh [rounds]
#include "addressbook/addressbookview.h"
#include "addressbook/formadresar.h"
#include "benchprogram.h"
#include "benchsupport.h"
#include "testsupport.h"

#include <cstdio>

int main(int argc, char** argv) {
    TestEnvironment environment;
    QApplication app(argc, argv);
    const int rounds = Rounds(argc, argv, 7);
    TempHome home;
    StartOn("adresar");
    TestProgram program;
    if (!StartProgram(program))
        return 1;
    auto* book = static_cast<TFormadresar*>(program.record(QStringLiteral("adresar")));
    std::printf("address book refresh, medians of %d rounds\n", rounds);
    std::printf("  %8s %-22s %12s %12s %8s %14s\n", "contacts", "", "raw SQLite", "ours", "ratio",
                "peak RSS");
    const auto report = [](int count, const char* what, double f, double o) {
        std::printf("  %8d %-22s %9.2f ms %9.2f ms %7.2fx %10.1f MiB\n", count, what, f, o, o / f,
                    StatusMiB("VmHWM:"));
    };
    // The sort keys measured: surname, town, first mail address.
    const std::pair<int, const char*> sorts[] = {
        {2, "by surname"}, {5, "by town"}, {13, "by mail 1 (a third)"}};
    for (const int count : {10000, 100000}) {
        Execute("data/Addressbook.dbf",
                {"DELETE FROM mojekontakty",
                 "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM c WHERE i<" +
                     std::to_string(count - 1) +
                     ") INSERT INTO mojekontakty(meno,priezvisko,ulica,psc,mesto,stat,tel1,mob1,"
                     "mail1,viditelnost) SELECT 'Meno '||(i % 977), 'Priezvisko '||(i*7919 % "
                     "100003), 'Hlavná '||i, '811 0'||(i % 10), 'Mesto '||(i % 499), "
                     "'Slovensko', '02/'||i, '0900 '||i, CASE WHEN i % 3 = 0 THEN "
                     "'osoba'||i||'@example.sk' ELSE '' END, 1 FROM c"});
        for (const auto& [key, what] : sorts) {
            book->sortClick(key);
            const std::string query =
                "SELECT id, meno, priezvisko" + std::string(key >= 3 ? ", " : "") +
                (key >= 3 ? SortOrder(key).mid(9).toStdString() : "") + " FROM \"mojekontakty\" " +
                SortFilter(key).toStdString() + " " + SortOrder(key).toStdString() + "  ";
            std::vector<double> floor, ours;
            for (int round = 0; round < rounds; ++round) {
                floor.push_back(RawFloorMs("data/Addressbook.dbf",
                                           {query,
                                            "SELECT COUNT(*) FROM mojekontakty WHERE "
                                            "viditelnost=1",
                                            "SELECT COUNT(*) FROM tables WHERE viditelnost=1"}));
                ours.push_back(TimedMs([&] { book->Aktualizuj(); }));
            }
            report(count, what, Median(floor), Median(ours));
        }
        if (count < 100000)
            continue;
        // A sort command: its view file, the marks and the refresh.
        std::vector<double> floor, ours;
        for (int round = 0; round < rounds; ++round) {
            const int key = round % 2 == 0 ? 5 : 2;
            floor.push_back(
                RawFloorMs("data/Addressbook.dbf",
                           {"SELECT id, meno, priezvisko" + std::string(key >= 3 ? ", mesto" : "") +
                                " FROM \"mojekontakty\" " + SortFilter(key).toStdString() + " " +
                                SortOrder(key).toStdString() + "  ",
                            "SELECT COUNT(*) FROM mojekontakty WHERE viditelnost=1",
                            "SELECT COUNT(*) FROM tables WHERE viditelnost=1"}));
            ours.push_back(TimedMs([&] { book->sortClick(key); }));
        }
        report(count, "sort command", Median(floor), Median(ours));
    }
    return 0;
}
