#include "trace.h"

#include <QFile>
#include <ctime>

namespace {
const QString& tracePath() {
    static const QString path = qEnvironmentVariable("VELMORAND_TRACE");
    return path;
}
} // namespace

bool Tracing() {
    return !tracePath().isEmpty();
}

void Trace(const QString& line) {
    const QString& path = tracePath();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::WriteOnly))
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const qint64 ms = qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    file.write(QByteArray::number(ms) + ' ' + line.toUtf8() + '\n');
}
