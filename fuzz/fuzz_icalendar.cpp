// Bytes of an iCalendar file: its events read, written as the diary writes
// them, and read again: as many events, at the same moments. Series are
// followed a thousandth as far as the diary's import follows them, so that
// one beyond the limits is met often and costs little.
#include "exchange/icalendar.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QDateTime now(QDate(2026, 12, 9), QTime(12, 0));
    TCalendarContents read;
    try {
        read = ReadICalendar(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), now,
                             TSeriesSteps{100, 500});
    } catch (const TFormatError&) {
        return 0;
    }
    QByteArray written = ICalendarStart();
    for (const TDiaryEvent& event : std::as_const(read.events))
        written += ICalendarEvent(event, QStringLiteral("x@velmorand"), now);
    written += ICalendarEnd();
    const TCalendarContents again = ReadICalendar(written, now);
    if (again.events.size() != read.events.size())
        __builtin_trap();
    for (qsizetype i = 0; i < read.events.size(); ++i)
        if (again.events[i].start != read.events[i].start ||
            again.events[i].alarm != read.events[i].alarm)
            __builtin_trap();
    return 0;
}
