// Start-up benchmark: the time from process start until the list of the
// window the user sees first (the one that holds the data) is painted, filled, the memory at
// idle and the processor time spent while idle, of the organiser with empty
// files, with 100,000 notes and with 100,000 diary entries in 50 groups
// (one in ten with a reminder still to come), beside a minimal Qt Widgets
// window (menu bar, list, status bar) measured in the same run.
//
//   startup_bench <velmorand> <floor> [rounds] [idle seconds]
//
// Uses the platform in QT_QPA_PLATFORM (offscreen when unset).
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

namespace {

double nowMsPrecise() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

struct Sample {
    double startMs = -1;
    double rssMiB = -1;
    double idleCpuMs = -1;
};

int g_idleSeconds = 2;

// User and system time of a process so far, in milliseconds.
double cpuMsOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Resident memory of a process in MiB.
double rssOf(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

Sample measure(const QString& program, const QStringList& arguments, const QString& trace) {
    QFile::remove(trace);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELMORAND_TRACE"), trace);
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double started = nowMsPrecise();
    process.start(program, arguments);
    Sample sample;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        QFile file(trace);
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                if (line.contains(" list painted")) {
                    sample.startMs = line.split(' ').first().toDouble() - started;
                    break;
                }
            }
        }
        if (sample.startMs >= 0)
            break;
        QThread::msleep(5);
    }
    QThread::msleep(500); // settled
    const double cpuBefore = cpuMsOf(process.processId());
    QThread::msleep(ulong(g_idleSeconds) * 1000); // idle
    sample.idleCpuMs = cpuMsOf(process.processId()) - cpuBefore;
    sample.rssMiB = rssOf(process.processId());
    process.terminate();
    if (!process.waitForFinished(10000))
        process.kill();
    process.waitForFinished();
    // The trace's clock has whole milliseconds: half a millisecond is the fair guess.
    if (sample.startMs >= 0)
        sample.startMs += 0.5;
    return sample;
}

// Puts `count` notes with 500-byte bodies into the default group.
bool fillNotes(const QString& file, int count) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
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
    const bool done = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return done;
}

// A settings file as after the first day (no welcome message), the program
// opening on the window named.
bool writeSettings(const QString& home, const char* window) {
    QFile settings(home + QStringLiteral("/Velmorand.ini"));
    return settings.open(QIODevice::WriteOnly) &&
           settings.write(QByteArray("2.0\r\n") + window +
                          "\r\nReminderwindows: 1\r\nAutoupdate: 1\r\nAnounce: 1\r\n"
                          "Hide: 0\r\nCtrl+Shift+H\r\nCtrl+Shift+O\r\nSlovak\r\n") > 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <velmorand> <floor> [rounds]\n");
        return 2;
    }
    const QString velmorand = QString::fromLocal8Bit(argv[1]);
    const QString floor = QString::fromLocal8Bit(argv[2]);
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 7;
    g_idleSeconds = argc > 4 ? std::max(1, atoi(argv[4])) : 2;
    QTemporaryDir work;
    const QString home = work.filePath(QStringLiteral("home"));
    const QString trace = work.filePath(QStringLiteral("trace.log"));
    // A first start creates the five data files and is not counted.
    QDir().mkpath(home);
    if (!writeSettings(home, "poznamky"))
        return 1;
    measure(velmorand, {QStringLiteral("--home"), home}, trace);
    if (QDir(home + QStringLiteral("/data"))
            .entryList({QStringLiteral("*.dbf")}, QDir::Files)
            .size() != 5) {
        std::fprintf(stderr, "the first start did not create the data files\n");
        return 1;
    }
    std::printf("start-up until the first list is painted, medians of %d rounds, "
                "processor time over %d idle seconds\n",
                rounds, g_idleSeconds);
    std::printf("  %-32s %9s %10s %9s %8s %8s\n", "", "painted", "idle RSS", "idle CPU", "time",
                "memory");
    struct Scenario {
        const char* name;
        std::function<bool()> prepare;
        // The window it starts on.
        const char* window = "poznamky";
    };
    const QString notes = home + QStringLiteral("/data/Notes.dbf");
    const Scenario scenarios[] = {
        {"empty files", [] { return true; }},
        {"100,000 notes", [&] { return fillNotes(notes, 100000); }},
        {"100,000 diary entries",
         [&] {
             if (!fillNotes(notes, 0))
                 return false;
             const QByteArray diary =
                 QFile::encodeName(home + QStringLiteral("/data/Reminders.dbf"));
             FillDiary(diary.constData(), 100000, 50, 2027);
             // The day it opens on holds a day's entries too.
             const std::string today = QDate::currentDate().toString(Qt::ISODate).toStdString();
             std::vector<std::string> day;
             for (int hour = 0; hour < 24; ++hour)
                 day.push_back("INSERT INTO mojdiar(datum,avizo,alarm,predmet,obsah,viditelnost) "
                               "VALUES('" +
                               today + "','" + today + " " + std::to_string(10 + hour % 10) +
                               ":00:00',0,'Dnes " + std::to_string(hour) + "','text',1)");
             Execute(diary.constData(), day);
             return true;
         },
         "diar"},
    };
    for (const Scenario& scenario : scenarios) {
        if (!scenario.prepare() || !writeSettings(home, scenario.window)) {
            std::fprintf(stderr, "cannot prepare %s\n", scenario.name);
            return 1;
        }
        measure(velmorand, {QStringLiteral("--home"), home}, trace); // settles new files
        std::vector<double> ourTime, ourMemory, ourCpu, floorTime, floorMemory, floorCpu;
        for (int round = 0; round < rounds; ++round) {
            const Sample f = measure(floor, {}, trace);
            const Sample v = measure(velmorand, {QStringLiteral("--home"), home}, trace);
            if (f.startMs < 0 || v.startMs < 0) {
                std::fprintf(stderr, "a program did not paint its list\n");
                return 1;
            }
            floorTime.push_back(f.startMs);
            floorMemory.push_back(f.rssMiB);
            floorCpu.push_back(f.idleCpuMs);
            ourTime.push_back(v.startMs);
            ourMemory.push_back(v.rssMiB);
            ourCpu.push_back(v.idleCpuMs);
        }
        const double ft = median(floorTime), vt = median(ourTime);
        const double fm = median(floorMemory), vm = median(ourMemory);
        std::printf("  %-32s %6.1f ms %6.1f MiB %6.0f ms\n", "minimal Qt window (floor)", ft, fm,
                    median(floorCpu));
        std::printf("  velmorand, %-21s %6.1f ms %6.1f MiB %6.0f ms %7.2fx %7.2fx\n", scenario.name,
                    vt, vm, median(ourCpu), vt / ft, vm / fm);
    }
    return 0;
}
