#include "textfile.h"

#include <QStringEncoder>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kChunk = 64 * 1024;

} // namespace

EFileError ReadError(const QIODevice& file) {
    const auto* onDisk = qobject_cast<const QFileDevice*>(&file);
    const QString name = onDisk ? onDisk->fileName() : QString();
    return EFileError(u"Cannot read the file \"%1\": %2"_s.arg(name, file.errorString()),
                      EFault::CannotRead, name);
}

QString Utf8Text(QByteArrayView bytes) {
    // Qt's own conversion takes a mark at the start away.
    if (!bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

void AppendUtf8(QByteArray& bytes, QStringView text) {
    const qsizetype had = bytes.size();
    // At most three bytes for each unit of UTF-16.
    bytes.resize(had + 3 * text.size());
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    bytes.truncate(encoder.appendToBuffer(bytes.data() + had, text) - bytes.constData());
}

void OpenForReading(QFile& file) {
    if (!file.open(QIODevice::ReadOnly))
        throw ReadError(file);
}

TLineReader::TLineReader(QIODevice& file, TextEncoding encoding) : m_file(file) {
    // The decoder leaves the byte-order mark out.
    if (encoding == TextEncoding::Utf16LE)
        m_decoder.emplace(QStringDecoder::Utf16LE);
    else if (encoding == TextEncoding::Utf16BE)
        m_decoder.emplace(QStringDecoder::Utf16BE);
}

bool TLineReader::fill() {
    if (m_end)
        return false;
    if (m_given > 0) {
        m_buffer.remove(0, m_given);
        m_scanned -= m_given;
        m_start -= m_given;
        m_given = 0;
    }
    const qsizetype had = m_buffer.size();
    m_buffer.resize(had + kChunk);
    const qint64 got = m_file.read(m_buffer.data() + had, kChunk);
    if (got < 0)
        throw ReadError(m_file);
    if (m_decoder) {
        const QString text = (*m_decoder)(QByteArrayView(m_buffer.constData() + had, got));
        m_buffer.resize(had);
        m_buffer += text.toUtf8();
    } else {
        m_buffer.resize(had + got);
    }
    if (got == 0)
        m_end = true;
    return got > 0;
}

bool TLineReader::next(QByteArrayView& line) {
    m_given = m_start;
    for (;;) {
        const char* data = m_buffer.constData();
        const qsizetype size = m_buffer.size();
        // The first line end, LF or CR, looked for a whole block at a time.
        const auto* lf = static_cast<const char*>(
            std::memchr(data + m_scanned, '\n', std::size_t(size - m_scanned)));
        const qsizetype before = lf ? lf - data : size;
        const auto* cr = static_cast<const char*>(
            std::memchr(data + m_scanned, '\r', std::size_t(before - m_scanned)));
        const qsizetype i = cr ? cr - data : before;
        // A CR at the end of what is read may be the first half of CR LF.
        if (i < size && !(data[i] == '\r' && i + 1 == size && !m_end)) {
            line = QByteArrayView(m_buffer).sliced(m_start, i - m_start);
            m_given = m_start;
            qsizetype after = i + 1;
            if (data[i] == '\r' && after < size && data[after] == '\n')
                ++after;
            m_consumed += after - m_start;
            m_start = m_scanned = after;
            return true;
        }
        m_scanned = i;
        if (!fill()) {
            // A CR held back at the end is a line end after all.
            if (m_scanned < m_buffer.size())
                continue;
            // The last line, without a line end.
            if (m_start >= m_buffer.size())
                return false;
            line = QByteArrayView(m_buffer).sliced(m_start);
            m_given = m_start;
            m_consumed += m_buffer.size() - m_start;
            m_start = m_scanned = m_buffer.size();
            return true;
        }
    }
}

int TLineReader::peek(QByteArrayView& line) {
    const qsizetype offset = line.data() - (m_buffer.constData() + m_given);
    bool moved = false;
    while (m_start >= m_buffer.size()) {
        if (!fill())
            return -1;
        moved = true;
    }
    // Reading on keeps the line last given, but may move it.
    if (moved)
        line = QByteArrayView(m_buffer).sliced(m_given + offset, line.size());
    return static_cast<unsigned char>(m_buffer[m_start]);
}

TextEncoding ImportEncoding(const QString& fileName) {
    QFile file(fileName);
    OpenForReading(file);
    return ImportEncoding(file);
}

TextEncoding ImportEncoding(QIODevice& file) {
    QByteArray chunk(kChunk, Qt::Uninitialized);
    bool first = true, high = false, utf8 = true, marked = false;
    int pending = 0; // continuation bytes still expected
    qint64 size = 0, controls = 0;
    for (;;) {
        const qint64 got = file.read(chunk.data(), kChunk);
        if (got < 0)
            throw ReadError(file);
        if (got == 0)
            break;
        size += got;
        const QByteArrayView piece(chunk.constData(), got);
        if (std::exchange(first, false)) {
            if (piece.startsWith("\xFF\xFE"))
                return TextEncoding::Utf16LE;
            if (piece.startsWith("\xFE\xFF"))
                return TextEncoding::Utf16BE;
            marked = piece.startsWith(kUtf8Bom);
        }
        const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
        for (qint64 i = 0; i < got; ++i) {
            const unsigned char b = bytes[i];
            if (b == 0)
                return TextEncoding::NotText;
            if (b < 0x20 && b != '\t' && b != '\n' && b != '\v' && b != '\f' && b != '\r' &&
                b != 0x1A && b != 0x1B)
                ++controls;
            if (!utf8)
                continue;
            if (pending > 0) {
                if ((b & 0xC0) != 0x80)
                    utf8 = false;
                --pending;
            } else if (b >= 0x80) {
                high = true;
                if (b >= 0xC2 && b <= 0xDF)
                    pending = 1;
                else if (b >= 0xE0 && b <= 0xEF)
                    pending = 2;
                else if (b >= 0xF0 && b <= 0xF4)
                    pending = 3;
                else
                    utf8 = false;
            }
        }
    }
    if (controls * 100 > size)
        return TextEncoding::NotText;
    if (marked || (utf8 && high && pending == 0))
        return TextEncoding::Utf8;
    return TextEncoding::Cp1250;
}
