#pragma once

#include <QKeyCombination>
#include <QObject>
#include <memory>

// Global hot keys: combinations that reach the program whichever program
// has the focus.
class IHotKeys : public QObject {
    Q_OBJECT
public:
    // Takes the combination for the id, replacing what the id had. False
    // when it cannot be had: another program holds it, the key has no code
    // on this keyboard, or the desktop offers no global keys.
    virtual bool registerHotKey(int id, QKeyCombination keys) = 0;
    virtual void unregisterHotKey(int id) = 0;
    // What the function of an id is, for a desktop that shows it.
    virtual void describe(int, const QString&) {}
    // Whether the desktop assigns the keys (the portal), and what it
    // assigned, as it says it: "Ctrl+Shift+H, Ctrl+Shift+O".
    virtual bool byDesktop() const { return false; }
    virtual QString assigned() const { return {}; }

signals:
    // Delivered from the event loop, never from inside the key's own event.
    void activated(int id);
    // The desktop assigned keys anew.
    void assignmentChanged();
};

// X11 key grabs on an X11 desktop; the desktop portal's global shortcuts on
// Wayland; elsewhere (offscreen) every registration fails silently.
std::unique_ptr<IHotKeys> MakeSystemHotKeys();
