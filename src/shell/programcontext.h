#pragma once

#include "languagetable.h"
#include "storage/datafiles.h"
#include "storage/datetimetext.h"

class IClock;
class IDialogs;

// What the whole program shares: the language table, the display patterns,
// the record kinds' module state and the platform services. Made once in
// main (or by a test, with fakes) and handed to every window by reference.
class TProgramContext {
public:
    TProgramContext(IDialogs& dialogs, IClock& clock) : dialogs(dialogs), clock(clock) {}
    TProgramContext(const TProgramContext&) = delete;
    TProgramContext& operator=(const TProgramContext&) = delete;

    IDialogs& dialogs;
    IClock& clock;

    TLanguageTable strings;
    DisplayPatterns patterns;
    DataModules modules;

    // Captions of the default groups: strings 56, 110, 44 and 2.
    DefaultCaptions defaultCaptions() const {
        return {strings[56], strings[110], strings[44], strings[2]};
    }
};
