#pragma once

#include <QString>

class TLanguageTable;

// A file another program wrote that breaks the form of its kind: what is
// wrong and on which line (from 1). Nothing of such a file is stored.
struct TFormatError {
    enum class Fault {
        CardWithoutEnd,  // BEGIN:VCARD never ended
        CardInCard,      // BEGIN:VCARD inside a card
        EndWithoutCard,  // END:VCARD with no card begun
        TextOutsideCard, // a line between cards
        QuoteNotClosed,  // a quoted CSV value runs to the end of the file
        ValueTooLong,    // a value of more than kMostValue bytes
        NoCalendar,      // no VCALENDAR in an .ics file
    };
    Fault fault;
    qint64 line;
};

// The longest value a contact's field or a diary's entry takes from
// another program's file: 1 MiB.
inline constexpr qsizetype kMostValue = 1 << 20;

// What a file that breaks its form says in a box: where and what.
QString FormatFaultMessage(const TLanguageTable& strings, const QString& fileName,
                           const TFormatError& fault);
