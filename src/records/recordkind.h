#pragma once

#include "language/strings.h"
#include "storage/datafiles.h"

#include <Qt>
#include <memory>
#include <optional>

class TProgramContext;
class TRecordWindow;

// A kind of record as the program knows it: the last-window name of its
// window, the F-key that shows it, how the window is made, its data file and
// current group, the caption of its default group and its headings in the
// log of the bin and the wipe. Each kind states its own in its folder; the
// shell lists them once, and whatever concerns every kind loops over that list.
struct TRecordKind {
    const char16_t* name;
    Qt::Key key;
    std::unique_ptr<TRecordWindow> (*make)(TProgramContext& context);
    // Its part of the shared module state: data file, view file, current group.
    TModuleState& (*module)(DataModules& modules);
    // The caption of its default group; none for a kind without groups.
    std::optional<Str> caption;
    Str binHeading;
    Str wipeHeading;
    // Its window's title, and its name in the settings page's window menu.
    Str title;
    // What search finds a record by: SQL expressions of its title and its
    // text, over its table's columns; none for a kind that is not searched.
    const char16_t* searchTitle = nullptr;
    const char16_t* searchText = u"''";
    // The stored moment the search's results show, if it has one.
    const char16_t* searchDate = u"''";
};

// The maker of a kind's window class.
template <typename Window>
std::unique_ptr<TRecordWindow> MakeRecordWindow(TProgramContext& context) {
    return std::make_unique<Window>(context);
}

// The accessor of a kind's module state.
template <TModuleState DataModules::*State> TModuleState& ModuleOf(DataModules& modules) {
    return modules.*State;
}
