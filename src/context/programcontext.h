#pragma once

#include "language/languagetable.h"
#include "ownsettings.h"
#include "platform/autostart.h"
#include "settings.h"
#include "storage/datafiles.h"
#include "storage/datetimetext.h"

#include <functional>
#include <memory>

class IClock;
class IDesktopLinks;
class IDialogs;
class IHotKeys;
class INotifications;
class IReminders;
class ISoundPlayer;
class ITrayArea;
class IWindowHost;
class TSearch;

// The desktop services the windows use, real ones in the program and fakes
// in tests.
struct TPlatform {
    IDialogs& dialogs;
    IClock& clock;
    ISoundPlayer& sound;
    IHotKeys& hotKeys;
    IDesktopLinks& links;
    INotifications& notifications;
    std::function<std::unique_ptr<ITrayArea>()> makeTrayArea;
    TAutostart autostart;
};

// What the whole program shares: the platform services, the language
// table, the settings, the display patterns, the record kinds' module state,
// the window host and the reminders. Made once in main (or by a test, with
// fakes) and handed to every window by reference.
class TProgramContext : public TPlatform {
public:
    // Error boxes say what went wrong in the current language.
    explicit TProgramContext(TPlatform platform);
    ~TProgramContext();
    TProgramContext(const TProgramContext&) = delete;
    TProgramContext& operator=(const TProgramContext&) = delete;

    // The home folder, which is also the working folder.
    QString home;
    TLanguageTable strings;
    TSettings settings;
    TOwnSettings own;
    DisplayPatterns patterns;
    DataModules modules;
    // Set by the shell's window manager for as long as it lives; windows are
    // made after it.
    IWindowHost* host = nullptr;
    IReminders* reminders = nullptr;
    // Search over every kind's records; set by the window manager.
    TSearch* search = nullptr;
};
