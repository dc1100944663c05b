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

signals:
    // Delivered from the event loop, never from inside the key's own event.
    void activated(int id);
};

// X11 key grabs on an X11 desktop; elsewhere (Wayland, offscreen) every
// registration fails silently.
std::unique_ptr<IHotKeys> MakeSystemHotKeys();
