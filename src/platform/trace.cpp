#include "trace.h"

#include <QFile>
#include <ctime>

void Trace(const QString& line) {
    static const QString path = qEnvironmentVariable("VELMORAND_TRACE");
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
