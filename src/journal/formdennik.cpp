#include "formdennik.h"

constexpr TRecordKind kJournalKind{u"dennik", Qt::Key_F4, &MakeRecordWindow<Tformdennik>};

Tformdennik::Tformdennik(TProgramContext& context)
    : TRecordWindow(context, kJournalKind, Str::JournalMenu) {}
