#pragma once

// What the benchmarks share: timing, medians, memory, and the raw SQLite
// floor, which steps through the same statements and keeps nothing.
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
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
