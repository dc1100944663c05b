// Search benchmark. Builds the index from nothing for 100,000 notes (texts of
// some 80 words from a vocabulary of 20,000, drawn as words are in real
// text: a few often, most rarely), beside the raw SQLite floor of reading
// the same rows and texts; the index's size against the text's. Then, with
// 500,000 records over the five kinds in the index, 100 searches of 1 to 3
// word starts (1 to 8 letters, taken from words of the texts): the first
// 500 over all (as the search window lists them), and all of one kind's
// group of 100,000 (as a window's filter needs them); median and slowest.
//
//   search_bench
#include "benchsupport.h"
#include "storage/datafiles.h"
#include "storage/searchindex.h"
#include "storage/text1250.h"
#include "testcore.h"

#include <QDir>
#include <QFileInfo>
#include <random>

namespace {

struct Words {
    std::vector<std::string> vocabulary;
    std::mt19937 random{2026};
    std::discrete_distribution<int> often;
    Words() {
        const char* syllables[] = {"ka",  "ma", "no",  "vá", "ko",  "pe",  "ter", "zu",
                                   "bár", "lo", "ni",  "če", "ško", "dá",  "ri",  "sla",
                                   "va",  "mi", "ho",  "žo", "pra", "cov", "né",  "stup",
                                   "ný",  "le", "kár", "ob", "jed"};
        std::uniform_int_distribution<int> syllable(0, std::size(syllables) - 1), length(1, 4);
        std::vector<double> weights;
        for (int w = 0; w < 20000; ++w) {
            std::string word;
            for (int s = length(random); s > 0; --s)
                word += syllables[syllable(random)];
            vocabulary.push_back(word);
            weights.push_back(1.0 / (w + 1));
        }
        often = std::discrete_distribution<int>(weights.begin(), weights.end());
    }
    std::string text(int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += (i ? " " : "") + vocabulary[often(random)];
        return text;
    }
    // A word's start of 1 to 8 characters (bytes of UTF-8, cut at a character).
    QString start() {
        const QString word = QString::fromStdString(vocabulary[often(random)]);
        return word.left(std::uniform_int_distribution<int>(1, 8)(random));
    }
};

} // namespace

int main(int argc, char** argv) {
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    TempHome home;
    QDir().mkpath(QStringLiteral("data"));
    DataModules modules;
    CreateDataFile(modules.poznamky, QStringLiteral("Moje poznámky"));
    Words words;
    std::vector<std::pair<std::string, std::string>> notes;
    qint64 textBytes = 0;
    {
        sqlite3* db = nullptr;
        sqlite3_open("data/Notes.dbf", &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO mojepoznamky(predmet,obsah,datum,datumzmeny,viditelnost) "
                           "VALUES(?,?,'2026-12-08 10:00:00','2026-12-08 10:00:00',1)",
                           -1, &insert, nullptr);
        for (int i = 0; i < 100000; ++i) {
            // Stored as the program stores them: Windows-1250.
            const QByteArray subject = Cp1250::encode(QString::fromStdString(words.text(4)));
            const QByteArray body = Cp1250::encode(QString::fromStdString(words.text(80)));
            textBytes += subject.size() + body.size();
            sqlite3_bind_text(insert, 1, subject.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, body.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const double floor = RawFloorMs(
        "data/Notes.dbf", {"SELECT id, predmet, obsah FROM mojepoznamky WHERE viditelnost=1"});
    double build;
    {
        TSearchIndex index(QStringLiteral("data/Search.idx"));
        const TSearchSource source(QStringLiteral("poznamky"), modules.poznamky,
                                   QStringLiteral("predmet"), QStringLiteral("obsah"));
        build = TimedMs([&] { UpdateSearchIndex(index, source); });
        std::printf("again, nothing changed: %.2f ms\n",
                    TimedMs([&] { UpdateSearchIndex(index, source); }));
    }
    const qint64 indexBytes = QFileInfo(QStringLiteral("data/Search.idx")).size() +
                              QFileInfo(QStringLiteral("data/Search.idx-wal")).size();
    std::printf("build of 100000 notes: %.0f ms; raw SQLite read %.1f ms (%.1fx)\n", build, floor,
                build / floor);
    std::printf("index %.1f MB, text %.1f MB (%.2fx)\n", indexBytes / 1e6, textBytes / 1e6,
                double(indexBytes) / textBytes);

    // Four more kinds of 100,000 records each, straight into the index.
    {
        TSearchIndex index(QStringLiteral("data/Search.idx"));
        index.begin();
        for (const char* kind : {"diar", "dennik", "adresar", "narodky"})
            for (int id = 1; id <= 100000; ++id)
                index.put({QString::fromLatin1(kind), QStringLiteral("skupina"), id}, id,
                          QString::fromStdString(words.text(4)),
                          QString::fromStdString(words.text(kind[0] == 'n' ? 0 : 40)));
        index.commit();
    }
    TSearchIndex index(QStringLiteral("data/Search.idx"), TSearchIndex::Access::ReadOnly);
    std::vector<double> all, group;
    std::vector<int> found;
    for (int query = 0; query < 100; ++query) {
        QStringList starts;
        for (int w = query % 3; w >= 0; --w)
            starts.append(words.start());
        const QString text = starts.join(u' ');
        QList<TSearchHit> hits;
        // As the search window asks: its first 500.
        all.push_back(TimedMs([&] { hits = index.find(text, QString(), QString(), 500); }));
        found.push_back(int(hits.size()));
        int inGroup = 0;
        group.push_back(TimedMs([&] {
            inGroup =
                int(index.find(text, QStringLiteral("poznamky"), QStringLiteral("mojepoznamky"))
                        .size());
        }));
        found.back() = inGroup;
    }
    std::printf(
        "100 searches over 500000 records, the first 500: median %.2f ms, slowest %.2f ms\n",
        Median(all), *std::max_element(all.begin(), all.end()));
    std::printf("the same, all matches in one group of 100000: median %.2f ms, slowest %.2f ms; "
                "median of records found %d\n",
                Median(group), *std::max_element(group.begin(), group.end()),
                int(Median(std::vector<double>(found.begin(), found.end()))));
    return 0;
}
