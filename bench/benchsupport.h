#pragma once

// What the benchmarks share: timing, medians, memory, and the raw SQLite
// floor, which steps through the same statements and keeps nothing.
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <sqlite3.h>
#include <string>
#include <vector>

inline double TimedMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The fastest of the rounds: on a machine that other work shares, the
// nearest to what the work itself costs.
inline double Best(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// A field of /proc/self/status ("VmHWM:", "VmRSS:") in MiB.
inline double StatusMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field))).trimmed().split(' ').first().toDouble() /
                   1024.0;
    return 0;
}

// The heap in use, in bytes, with what can be given back given back.
inline double HeapInUse() {
    malloc_trim(0);
    return double(mallinfo2().uordblks);
}

// Opens the file as the program does, runs the statements and steps through
// every row reading every column, closes it; in milliseconds.
inline double RawFloorMs(const char* file, const std::vector<std::string>& queries) {
    return TimedMs([&] {
        sqlite3* db = nullptr;
        sqlite3_open(file, &db);
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
    });
}

// The same for one query, handing every row to `row`, as a C loop that
// does a list's work (reads, formats, keeps) would.
inline double RawFloorEachMs(const char* file, const char* sql,
                             const std::function<void(sqlite3_stmt*)>& row) {
    return TimedMs([&] {
        sqlite3* db = nullptr;
        sqlite3_open(file, &db);
        sqlite3_exec(db, "PRAGMA SYNCHRONOUS=NORMAL;", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "PRAGMA temp_store = MEMORY;", nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            row(stmt);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    });
}

// Runs statements in one transaction on a file.
inline void Execute(const char* file, const std::vector<std::string>& statements) {
    sqlite3* db = nullptr;
    sqlite3_open(file, &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const std::string& sql : statements)
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Diary entries spread over the days of a year, one in ten with its
// reminder armed, in `groups` groups: the default group and skupina1 to
// skupinaN-1, made here.
inline void FillDiary(const char* file, int entries, int groups, int year) {
    std::vector<std::string> statements;
    for (int g = 1; g < groups; ++g) {
        const std::string table = "skupina" + std::to_string(g);
        statements.push_back("CREATE TABLE " + table +
                             "([id] INTEGER PRIMARY KEY, [datum] date,[avizo] datetime,"
                             "[alarm] INTEGER,[predmet] warchar(30),[obsah] text,"
                             "[viditelnost] integer)");
        statements.push_back("INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('" +
                             table + "','" + table + "',1)");
    }
    for (int i = 0; i < entries; ++i) {
        const int g = i % groups;
        const std::string table = g == 0 ? "mojdiar" : "skupina" + std::to_string(g);
        char day[16], moment[32];
        std::snprintf(day, sizeof day, "%04d-%02d-%02d", year, (i * 7) % 12 + 1, (i * 7) % 28 + 1);
        std::snprintf(moment, sizeof moment, "%s %02d:%02d:00", day, (i / 60) % 24, i % 60);
        statements.push_back("INSERT INTO " + table +
                             "(datum,avizo,alarm,predmet,obsah,viditelnost) VALUES('" + day +
                             "','" + moment + "'," + (i % 10 == 0 ? "1" : "0") + ",'Zapis cislo " +
                             std::to_string(i) + "','text',1)");
    }
    Execute(file, statements);
}
