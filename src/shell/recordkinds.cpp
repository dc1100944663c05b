#include "recordkinds.h"

#include "addressbook/formadresar.h"
#include "birthdays/formnarodky.h"
#include "context/settings.h"
#include "diary/formdiar.h"
#include "journal/formdennik.h"
#include "notes/formpoznamky.h"

namespace {

// One line per kind.
constexpr const TRecordKind* kKinds[] = {
    &kNotesKind, &kJournalKind, &kDiaryKind, &kAddressBookKind, &kBirthdaysKind,
};

} // namespace

std::span<const TRecordKind* const> RecordKinds() {
    return kKinds;
}

bool IsWindowName(const QString& name) {
    if (name == TSettings::MainWindow)
        return true;
    for (const TRecordKind* kind : kKinds)
        if (name == QStringView(kind->name))
            return true;
    return false;
}
