#include "wavfile.h"

#include <QFile>
#include <QtEndian>

using namespace Qt::Literals::StringLiterals;

namespace {

TWavInfo bad(const QString& problem) {
    return {false, problem, 0};
}

quint32 u32(QByteArrayView b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.data() + at);
}

quint16 u16(QByteArrayView b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.data() + at);
}

} // namespace

TWavInfo InspectWav(QByteArrayView bytes) {
    if (bytes.size() < 12 || bytes.first(4) != "RIFF" || bytes.sliced(8, 4) != "WAVE")
        return bad(u"it is not a WAV file"_s);
    quint16 format = 0, channels = 0, bits = 0;
    quint32 rate = 0;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArrayView id = bytes.sliced(at, 4);
        const quint32 size = u32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return bad(u"its format header is damaged"_s);
            format = u16(bytes, body);
            channels = u16(bytes, body + 2);
            rate = u32(bytes, body + 4);
            bits = u16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return bad(u"its format header is missing"_s);
            if (format != 1 || (bits != 8 && bits != 16) || channels < 1 || channels > 2 ||
                rate < 1000 || rate > 192000)
                return bad(u"it is not 8- or 16-bit PCM sound"_s);
            if (size == 0 || quint64(body) + size > quint64(bytes.size()))
                return bad(u"its sound data is cut short"_s);
            const quint64 bytesPerSecond = quint64(rate) * channels * (bits / 8);
            return {true, QString(), int(quint64(size) * 1000 / bytesPerSecond)};
        }
        at = body + qsizetype(size) + (size & 1);
        if (size > quint32(bytes.size()))
            break;
    }
    return bad(u"it holds no sound data"_s);
}

TWavInfo InspectWavFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return bad(u"the file does not exist"_s);
    if (!file.open(QIODevice::ReadOnly))
        return bad(file.errorString());
    return InspectWav(file.readAll());
}
