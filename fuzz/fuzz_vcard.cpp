// Bytes of a vCard file: read card by card; each card the program writes
// of what it read reads back to the same values.
#include "exchange/vcard.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

namespace {

QList<TCardContact> readAll(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TVCardReader reader(buffer, TextEncoding::Utf8);
    QList<TCardContact> cards;
    TCardContact card;
    while (reader.next(card))
        cards.append(card);
    return cards;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QList<TCardContact> cards;
    try {
        cards = readAll(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const TFormatError&) {
        return 0;
    }
    for (const TCardContact& card : cards) {
        const QList<TCardContact> again = readAll(VCardOf(card.fields, card.birthday));
        if (again.size() != 1 || again[0].fields != card.fields ||
            again[0].birthday != card.birthday || !again[0].leftOut.isEmpty())
            __builtin_trap();
    }
    return 0;
}
