// Contact import and export benchmark: 100,000 contact lines (15 filled
// fields, accented names, Windows-1250) imported through the address book
// with the map unchanged, beside two floors: the sqlite3 shell's .import of
// the same file into a table of 24 text columns, and a C loop doing the
// import's own work (read, split at ";", bind 24 values, insert, all in one
// transaction); then the export of the 100,000 beside a C loop that reads
// the same rows and writes them as lines. The import's heap
// is measured at 10,000 and 100,000 lines: it streams, so it stays flat.
// Then the formats of other programs: 100,000 vCards and a table of
// 100,000 rows (UTF-8) imported through the address book beside C loops
// that parse the same file (the vCard's lines by hand, the table with
// libcsv), turn the values into the files' code page and insert with one
// prepared statement in one transaction, and
// the export of 100,000 as vCards beside a C loop writing the same lines.
//
//   contact_import [rounds]
#include "addressbook/contactimport.h"
#include "addressbook/formadresar.h"
#include "addressbook/formnastavinport.h"
#include "benchprogram.h"
#include "benchsupport.h"
#include "storage/text1250.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <cstdio>
#include <csv.h>
#include <iconv.h>
#include <string>

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

// The import's work in plain C: the file read, each line split into 24
// values bound to one prepared INSERT, in one transaction.
double importFloorMs(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return TimedMs([&] {
        const QByteArray bytes = file.readAll();
        sqlite3* db = nullptr;
        sqlite3_open("data/Addressbook.dbf", &db);
        sqlite3_exec(db, "PRAGMA SYNCHRONOUS=NORMAL; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db,
            "INSERT INTO mojekontakty(meno,priezvisko,ulica,psc,mesto,stat,tel1,tel2,"
            "mob1,mob2,mob3,fax,mail1,mail2,mail3,web,icq,skype,irc,jabber,msn,"
            "yahoo,ain,gadugadu,viditelnost) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,"
            "?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,?23,?24,1)",
            -1, &insert, nullptr);
        const char* p = bytes.constData();
        const char* end = p + bytes.size();
        while (p < end) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
            const char* lineEnd = eol ? eol : end;
            const char* stop = lineEnd > p && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
            int field = 1;
            for (const char* start = p; field <= 24; ++field) {
                const char* sep =
                    static_cast<const char*>(std::memchr(start, ';', std::size_t(stop - start)));
                const char* valueEnd = sep ? sep : stop;
                sqlite3_bind_text(insert, field, start, int(valueEnd - start), SQLITE_STATIC);
                if (!sep)
                    break;
                start = sep + 1;
            }
            for (++field; field <= 24; ++field)
                sqlite3_bind_text(insert, field, "", 0, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
            p = lineEnd + 1;
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
}

// The export's work in plain C: the rows read and written as lines.
double exportFloorMs() {
    return TimedMs([] {
        sqlite3* db = nullptr;
        sqlite3_open("data/Addressbook.dbf", &db);
        sqlite3_stmt* rows = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT meno,priezvisko,ulica,psc,mesto,stat,tel1,tel2,mob1,mob2,mob3,"
                           "fax,mail1,mail2,mail3,web,icq,skype,irc,jabber,msn,yahoo,ain,gadugadu "
                           "FROM mojekontakty WHERE viditelnost=1 ORDER BY id",
                           -1, &rows, nullptr);
        std::FILE* out = std::fopen("floor-export.txt", "wb");
        while (sqlite3_step(rows) == SQLITE_ROW) {
            for (int c = 0; c < 24; ++c) {
                if (c > 0)
                    std::fputs(" ; ", out);
                std::fputs(reinterpret_cast<const char*>(sqlite3_column_text(rows, c)), out);
            }
            std::fputs("\r\n", out);
        }
        std::fclose(out);
        sqlite3_finalize(rows);
        sqlite3_close(db);
    });
}

// The same contacts as vCards of another program (3.0, UTF-8), and as a
// table with a header row.
void writeOtherFormats(const QString& cards, const QString& table, int count) {
    QFile vcf(cards), csv(table);
    vcf.open(QIODevice::WriteOnly);
    csv.open(QIODevice::WriteOnly);
    csv.write("First Name,Last Name,Home Street,Home Postal Code,Home City,Home Country,"
              "Home Phone,Mobile Phone,E-mail Address,Web Page,ICQ,Skype,Yahoo\r\n");
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i), s = QString::number(i % 997);
        const QString z = QString::number(i % 10);
        vcf.write((u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Šťastný"_s + s + u";Ľubomír"_s + n +
                   u";;;\r\nFN:Ľubomír"_s + n + u" Šťastný"_s + s +
                   u"\r\nADR;TYPE=HOME:;;Hlavná "_s + n + u";Žilina;;811 0"_s + z +
                   u";Slovensko\r\nTEL;TYPE=HOME:02/"_s + n + u"\r\nTEL;TYPE=CELL:0905 "_s + n +
                   u"\r\nEMAIL:ľubo"_s + n + u"@príklad.sk\r\nURL:www.príklad.sk/"_s + n +
                   u"\r\nX-ICQ:"_s + n + u"\r\nX-SKYPE:ľubo."_s + n + u"\r\nX-YAHOO:yahoo"_s + n +
                   u"\r\nEND:VCARD\r\n"_s)
                      .toUtf8());
        csv.write((u"Ľubomír"_s + n + u",Šťastný"_s + s + u",Hlavná "_s + n + u",811 0"_s + z +
                   u",Žilina,Slovensko,02/"_s + n + u",0905 "_s + n + u",ľubo"_s + n +
                   u"@príklad.sk,www.príklad.sk/"_s + n + u","_s + n + u",ľubo."_s + n +
                   u",yahoo"_s + n + u"\r\n"_s)
                      .toUtf8());
    }
}

sqlite3_stmt* prepareInsert(sqlite3* db) {
    sqlite3_exec(db, "PRAGMA SYNCHRONOUS=NORMAL; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO mojekontakty(meno,priezvisko,ulica,psc,mesto,stat,tel1,tel2,"
                       "mob1,mob2,mob3,fax,mail1,mail2,mail3,web,icq,skype,irc,jabber,msn,"
                       "yahoo,ain,gadugadu,viditelnost) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,"
                       "?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,?23,?24,1)",
                       -1, &insert, nullptr);
    return insert;
}

// The data files' code page as a C program would turn UTF-8 into it and
// back: each character looked up in tables made once with iconv.
struct CodePage {
    unsigned char table[65536] = {};
    std::string utf8Of[256];
    CodePage() {
        iconv_t toUnicode = iconv_open("UTF-16LE", "CP1250");
        iconv_t toUtf8 = iconv_open("UTF-8", "CP1250");
        for (int b = 1; b < 256; ++b) {
            char in = char(b), out[4];
            char* from = &in;
            char* to = out;
            std::size_t left = 1, room = sizeof out;
            if (iconv(toUnicode, &from, &left, &to, &room) != std::size_t(-1) && room == 2)
                table[(unsigned char)out[0] | (unsigned char)out[1] << 8] = (unsigned char)b;
            from = &in, to = out, left = 1, room = sizeof out;
            if (iconv(toUtf8, &from, &left, &to, &room) != std::size_t(-1))
                utf8Of[b].assign(out, sizeof out - room);
        }
        iconv_close(toUnicode);
        iconv_close(toUtf8);
    }
    void convert(const std::string& utf8, std::string& bytes) const {
        bytes.clear();
        for (std::size_t i = 0; i < utf8.size();) {
            const auto c = (unsigned char)utf8[i];
            unsigned u = c;
            int n = 1;
            if (c >= 0xF0)
                u = c & 0x07, n = 4;
            else if (c >= 0xE0)
                u = c & 0x0F, n = 3;
            else if (c >= 0xC0)
                u = c & 0x1F, n = 2;
            for (int k = 1; k < n && i + k < utf8.size(); ++k)
                u = u << 6 | ((unsigned char)utf8[i + k] & 0x3F);
            i += n;
            bytes += u < 0x80 ? char(u) : u < 65536 && table[u] ? char(table[u]) : '?';
        }
    }
    void utf8(const unsigned char* stored, std::string& text) const {
        text.clear();
        for (; *stored; ++stored)
            if (*stored < 0x80)
                text += char(*stored);
            else
                text += utf8Of[*stored];
    }
};

const CodePage& codePage() {
    static const CodePage table;
    return table;
}

void insertSlots(sqlite3_stmt* insert, const std::string (&cells)[24]) {
    static std::string stored[24];
    for (int field = 0; field < 24; ++field) {
        codePage().convert(cells[field], stored[field]);
        sqlite3_bind_text(insert, field + 1, stored[field].data(), int(stored[field].size()),
                          SQLITE_STATIC);
    }
    sqlite3_step(insert);
    sqlite3_reset(insert);
}

// The vCards parsed by hand in C: each line's name and value, the values
// split at ";" where they have parts, put into their fields.
double vcardFloorMs(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return TimedMs([&] {
        const QByteArray bytes = file.readAll();
        sqlite3* db = nullptr;
        sqlite3_open("data/Addressbook.dbf", &db);
        sqlite3_stmt* insert = prepareInsert(db);
        std::string cells[24];
        const auto parts = [](std::string_view value, int n) {
            std::string_view part = value;
            for (int i = 0; i < n; ++i)
                part = part.substr(std::min(part.find(';'), part.size() - 1) + 1);
            return std::string(part.substr(0, part.find(';')));
        };
        const char* p = bytes.constData();
        const char* end = p + bytes.size();
        while (p < end) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
            const char* lineEnd = eol ? eol : end;
            std::string_view line(p, std::size_t(lineEnd - p));
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            const std::size_t colon = line.find(':');
            const std::string_view head = line.substr(0, colon);
            const std::string_view value = line.substr(colon + 1);
            const std::string_view name = head.substr(0, head.find(';'));
            if (line == "BEGIN:VCARD") {
                for (std::string& cell : cells)
                    cell.clear();
            } else if (line == "END:VCARD") {
                insertSlots(insert, cells);
            } else if (name == "N") {
                cells[1] = parts(value, 0);
                cells[0] = parts(value, 1);
            } else if (name == "ADR") {
                cells[2] = parts(value, 2);
                cells[4] = parts(value, 3);
                cells[3] = parts(value, 5);
                cells[5] = parts(value, 6);
            } else if (name == "TEL") {
                cells[head.find("CELL") != head.npos ? 8 : 6] = value;
            } else if (name == "EMAIL") {
                cells[12] = value;
            } else if (name == "URL") {
                cells[15] = value;
            } else if (name == "X-ICQ") {
                cells[16] = value;
            } else if (name == "X-SKYPE") {
                cells[17] = value;
            } else if (name == "X-YAHOO") {
                cells[21] = value;
            }
            p = lineEnd + 1;
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
}

// The table parsed with libcsv in C, its columns put into their fields.
double tableFloorMs(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return TimedMs([&] {
        const QByteArray bytes = file.readAll();
        sqlite3* db = nullptr;
        sqlite3_open("data/Addressbook.dbf", &db);
        struct Row {
            sqlite3_stmt* insert = nullptr;
            std::string cells[24];
            int column = 0;
            bool header = true;
        } row;
        row.insert = prepareInsert(db);
        static const int kFields[] = {0, 1, 2, 3, 4, 5, 6, 8, 12, 15, 16, 17, 21};
        csv_parser parser;
        csv_init(&parser, 0);
        const auto field = [](void* text, std::size_t size, void* data) {
            auto* r = static_cast<Row*>(data);
            if (r->column < 13)
                r->cells[kFields[r->column]].assign(static_cast<const char*>(text), size);
            ++r->column;
        };
        const auto rowEnd = [](int, void* data) {
            auto* r = static_cast<Row*>(data);
            if (!r->header)
                insertSlots(r->insert, r->cells);
            r->header = false;
            r->column = 0;
        };
        csv_parse(&parser, bytes.constData(), std::size_t(bytes.size()), field, rowEnd, &row);
        csv_fini(&parser, field, rowEnd, &row);
        csv_free(&parser);
        sqlite3_finalize(row.insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
}

// The vCard export's work in C: the rows read, their values turned from the
// files' code page into UTF-8, and written as the same lines.
double vcardExportFloorMs() {
    return TimedMs([] {
        sqlite3* db = nullptr;
        sqlite3_open("data/Addressbook.dbf", &db);
        sqlite3_stmt* rows = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT meno,priezvisko,ulica,psc,mesto,stat,tel1,mob1,mail1,web,icq,"
                           "skype,yahoo FROM mojekontakty WHERE viditelnost=1 ORDER BY id",
                           -1, &rows, nullptr);
        std::FILE* out = std::fopen("floor-export.vcf", "wb");
        std::string values[13];
        const auto text = [&values](int c) { return values[c].c_str(); };
        while (sqlite3_step(rows) == SQLITE_ROW) {
            for (int c = 0; c < 13; ++c)
                codePage().utf8(sqlite3_column_text(rows, c), values[c]);
            std::fprintf(out,
                         "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:%s %s\r\nN:%s;%s;;;\r\n"
                         "ADR;TYPE=home:;;%s;%s;;%s;%s\r\nTEL;TYPE=home,voice:%s\r\n"
                         "TEL;TYPE=cell:%s\r\nEMAIL:%s\r\nURL:%s\r\nX-ICQ:%s\r\n"
                         "X-SKYPE:%s\r\nX-YAHOO:%s\r\nEND:VCARD\r\n",
                         text(0), text(1), text(1), text(0), text(2), text(4), text(3), text(5),
                         text(6), text(7), text(8), text(9), text(10), text(11), text(12));
        }
        std::fclose(out);
        sqlite3_finalize(rows);
        sqlite3_close(db);
    });
}

// An import of another program's file through the window, to its end.
double importSourceMs(TFormadresar* book, const QString& path, TSourceMaker source) {
    book->importState().fileName = path;
    return TimedMs([&] {
        auto* import = new TContactImport(*book, book->importState(), std::move(source));
        bool done = false;
        QObject::connect(import, &TContactImport::finished, [&done] { done = true; });
        import->start();
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    if (!StartProgram(program))
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
    std::vector<double> shell, loop, ours;
    for (int round = 0; round < rounds; ++round) {
        Execute("data/Addressbook.dbf", {"DELETE FROM mojekontakty"});
        loop.push_back(importFloorMs(big));
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
    std::printf("  import of 100,000 lines: sqlite3 .import %.1f ms, C loop %.1f ms, ours %.1f ms, "
                "ratio %.2fx the shell, %.2fx the loop\n",
                Median(shell), Median(loop), Median(ours), Median(ours) / Median(shell),
                Median(ours) / Median(loop));
    std::printf("  heap after importing 10,000 lines %+.1f MiB, after 100,000 %+.1f MiB; "
                "peak RSS %.1f MiB\n",
                (afterSmall - before) / 1048576.0, (afterBig - before) / 1048576.0,
                StatusMiB("VmHWM:"));

    // The export: the list as it is (by surname), all 100,000.
    book->sortClick(0);
    std::vector<double> floor, exported;
    for (int round = 0; round < rounds; ++round) {
        floor.push_back(exportFloorMs());
        program.t.dialogs.fileNames = {QDir::current().filePath(u"export.txt"_s)};
        exported.push_back(TimedMs([&] { book->exportClick(); }));
    }
    std::printf(
        "  export of 100,000: C loop reading and writing %.1f ms, ours %.1f ms, ratio %.2fx\n",
        Median(floor), Median(exported), Median(exported) / Median(floor));

    // The formats of other programs.
    const QString cards = QDir::current().filePath(u"big.vcf"_s);
    const QString table = QDir::current().filePath(u"big.csv"_s);
    const QString smallCards = QDir::current().filePath(u"small.vcf"_s);
    writeOtherFormats(smallCards, QDir::current().filePath(u"small.csv"_s), 10000);
    writeOtherFormats(cards, table, 100000);
    book->sortClick(12);
    const double cardsBefore = HeapInUse();
    importSourceMs(book, smallCards, VCardSource(TextEncoding::Utf8));
    const double cardsSmall = HeapInUse();
    importSourceMs(book, cards, VCardSource(TextEncoding::Utf8));
    const double cardsBig = HeapInUse();
    QList<int> map{0, 1, 2, 3, 4, 5, 6, 8, 12, 15, 16, 17, 21};
    std::vector<double> cardFloor, cardOurs, tableFloor, tableOurs, outFloor, outOurs;
    for (int round = 0; round < rounds; ++round) {
        Execute("data/Addressbook.dbf", {"DELETE FROM mojekontakty"});
        cardFloor.push_back(vcardFloorMs(cards));
        Execute("data/Addressbook.dbf", {"DELETE FROM mojekontakty"});
        cardOurs.push_back(importSourceMs(book, cards, VCardSource(TextEncoding::Utf8)));
        Execute("data/Addressbook.dbf", {"DELETE FROM mojekontakty"});
        tableFloor.push_back(tableFloorMs(table));
        Execute("data/Addressbook.dbf", {"DELETE FROM mojekontakty"});
        tableOurs.push_back(importSourceMs(
            book, table, TableSource(TextEncoding::Utf8, ',', map, true, u"BDAY"_s)));
    }
    std::printf("  import of 100,000 vCards: C loop %.1f ms, ours %.1f ms, ratio %.2fx (best "
                "rounds %.2fx); heap after 10,000 %+.1f MiB, after 100,000 %+.1f MiB\n",
                Median(cardFloor), Median(cardOurs), Median(cardOurs) / Median(cardFloor),
                Best(cardOurs) / Best(cardFloor), (cardsSmall - cardsBefore) / 1048576.0,
                (cardsBig - cardsBefore) / 1048576.0);
    std::printf("  import of a table of 100,000 rows: C loop with libcsv %.1f ms, ours %.1f ms, "
                "ratio %.2fx (best rounds %.2fx)\n",
                Median(tableFloor), Median(tableOurs), Median(tableOurs) / Median(tableFloor),
                Best(tableOurs) / Best(tableFloor));
    book->sortClick(0);
    for (int round = 0; round < rounds; ++round) {
        outFloor.push_back(vcardExportFloorMs());
        program.t.dialogs.fileNames = {QDir::current().filePath(u"export.vcf"_s)};
        outOurs.push_back(TimedMs([&] { book->exportVCardClick(); }));
    }
    std::printf("  export of 100,000 as vCards: C loop %.1f ms, ours %.1f ms, ratio %.2fx (best "
                "rounds %.2fx)\n",
                Median(outFloor), Median(outOurs), Median(outOurs) / Median(outFloor),
                Best(outOurs) / Best(outFloor));
    return 0;
}
