#pragma once

#include <Qt>
#include <memory>

class TProgramContext;
class TRecordWindow;

// A kind of record as the program knows it: the last-window name of its
// window, the F-key that shows it, and how the window is made. Each kind
// states its own in its folder; the shell lists them once.
struct TRecordKind {
    const char16_t* name;
    Qt::Key key;
    std::unique_ptr<TRecordWindow> (*make)(TProgramContext& context);
};

// The maker of a kind's window class.
template <typename Window>
std::unique_ptr<TRecordWindow> MakeRecordWindow(TProgramContext& context) {
    return std::make_unique<Window>(context);
}
