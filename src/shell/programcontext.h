#pragma once

#include "languagetable.h"
#include "platform/autostart.h"
#include "settingsfile.h"
#include "storage/datafiles.h"
#include "storage/datetimetext.h"

#include <functional>
#include <memory>

class IClock;
class IDialogs;
class IHotKeys;
class ISoundPlayer;
class ITrayArea;
class QWidget;
class TRecordWindow;
class Tformvelmorand;

// The desktop services the windows use, real ones in the program and fakes
// in tests.
struct TPlatform {
    IDialogs& dialogs;
    IClock& clock;
    ISoundPlayer& sound;
    IHotKeys& hotKeys;
    std::function<std::unique_ptr<ITrayArea>()> makeTrayArea;
    TAutostart autostart;
};

// The program's windows, once they exist.
struct TWindows {
    Tformvelmorand* main = nullptr;
    TRecordWindow* poznamky = nullptr;
    TRecordWindow* dennik = nullptr;
    TRecordWindow* diar = nullptr;
    TRecordWindow* adresar = nullptr;
    TRecordWindow* narodky = nullptr;

    // The window a last-window name stands for; null for an unknown name.
    QWidget* byName(const QString& name) const;
};

// What the whole program shares: the platform services, the language
// table, the settings, the display patterns, the record kinds' module state
// and the windows. Made once in main (or by a test, with fakes) and handed
// to every window by reference.
class TProgramContext : public TPlatform {
public:
    explicit TProgramContext(TPlatform platform) : TPlatform(std::move(platform)) {}
    TProgramContext(const TProgramContext&) = delete;
    TProgramContext& operator=(const TProgramContext&) = delete;

    // The home folder, which is also the working folder.
    QString home;
    TLanguageTable strings;
    TSettings settings;
    DisplayPatterns patterns;
    DataModules modules;
    TWindows windows;

    // Captions of the default groups: strings 56, 110, 44 and 2.
    DefaultCaptions defaultCaptions() const {
        return {strings[56], strings[110], strings[44], strings[2]};
    }
};
