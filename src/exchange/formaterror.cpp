#include "formaterror.h"

#include "language/languagetable.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

QString FormatFaultMessage(const TLanguageTable& s, const QString& fileName,
                           const TFormatError& fault) {
    Str what = Str::ValueTooLong;
    switch (fault.fault) {
    case TFormatError::Fault::CardWithoutEnd:
        what = Str::CardWithoutEnd;
        break;
    case TFormatError::Fault::CardInCard:
        what = Str::CardInCard;
        break;
    case TFormatError::Fault::EndWithoutCard:
        what = Str::EndWithoutCard;
        break;
    case TFormatError::Fault::TextOutsideCard:
        what = Str::TextOutsideCard;
        break;
    case TFormatError::Fault::NoCalendar:
        what = Str::NoCalendar;
        break;
    case TFormatError::Fault::QuoteNotClosed:
        what = Str::QuoteNotClosed;
        break;
    case TFormatError::Fault::ValueTooLong:
        break;
    }
    return s[Str::FormatFault].arg(QDir::toNativeSeparators(fileName)).arg(fault.line).arg(s[what]);
}
