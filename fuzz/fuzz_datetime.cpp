// Pattern and text, separated by the first line end, for the date parser and
// the formatter.
#include "storage/datetimetext.h"
#include "storage/text1250.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = Cp1250::decode(QByteArrayView(data, qsizetype(size)));
    const qsizetype split = input.indexOf(u'\n');
    const QString pattern = split < 0 ? input : input.left(split);
    const QString text = split < 0 ? QString() : input.mid(split + 1);
    static const QLocale slovak(QLocale::Slovak, QLocale::Slovakia);
    const QDateTime value = ParseDateTimeByFormat(pattern, text, slovak, 2026);
    if (!value.isValid())
        __builtin_trap(); // the parser always returns a moment
    FormatDateTime(pattern, value, slovak);
    return 0;
}
