#include "recordkinds.h"

#include "addressbook/formadresar.h"
#include "birthdays/formnarodky.h"
#include "context/programcontext.h"
#include "context/settings.h"
#include "diary/formdiar.h"
#include "journal/formdennik.h"
#include "notes/formpoznamky.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<const TRecordKind*>& kinds() {
    // One line per kind.
    static std::vector<const TRecordKind*> all{
        &kNotesKind, &kDiaryKind, &kAddressBookKind, &kJournalKind, &kBirthdaysKind,
    };
    return all;
}

} // namespace

std::span<const TRecordKind* const> RecordKinds() {
    return kinds();
}

TRecordKindRegistration::TRecordKindRegistration(const TRecordKind& kind) : m_kind(kind) {
    kinds().push_back(&kind);
}

TRecordKindRegistration::~TRecordKindRegistration() {
    std::erase(kinds(), &m_kind);
}

bool IsWindowName(const QString& name) {
    if (name == TSettings::MainWindow)
        return true;
    return std::ranges::any_of(
        kinds(), [&](const TRecordKind* kind) { return name == QStringView(kind->name); });
}

QString DefaultCaption(const TRecordKind& kind, const TProgramContext& context) {
    return kind.caption ? context.strings[*kind.caption] : QString();
}

QList<TDataFileFailure> CreateDataFiles(TProgramContext& context) {
    std::vector<TDataFileRequest> files;
    for (const TRecordKind* kind : kinds())
        files.push_back({&kind->module(context.modules), DefaultCaption(*kind, context)});
    return Vytvorsubory(files);
}
