#include "errortexts.h"

#include "language/languagetable.h"
#include "storage/exception.h"

#include <QDir>

QString ErrorText(const Exception& error, const TLanguageTable& s) {
    const auto about = [&](Str text) {
        return s[text].arg(QDir::toNativeSeparators(error.file()));
    };
    if (error.file().isEmpty() && error.fault() != EFault::Said)
        return s[Str::ErrorUnexpected];
    switch (error.fault()) {
    case EFault::Said:
        return error.message();
    case EFault::Busy:
        return about(Str::ErrorFileBusy);
    case EFault::BusyHere:
        return about(Str::ErrorFileBusyHere);
    case EFault::ReadOnly:
        return about(Str::ErrorFileReadOnly);
    case EFault::Full:
        return about(Str::ErrorDiskFull);
    case EFault::Damaged:
        return about(Str::ErrorFileDamaged);
    case EFault::MissingPart:
        return about(Str::ErrorFileMissingPart);
    case EFault::CannotRead:
        return about(Str::ErrorFileUnreadable);
    case EFault::CannotWrite:
        return about(Str::ErrorFileUnwritable);
    case EFault::CannotPlay:
        return about(Str::ErrorSoundUnplayable);
    case EFault::Unexpected:
        break;
    }
    return s[Str::ErrorUnexpected];
}
