#pragma once

#include "context/programcontext.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/desktoplinks.h"
#include "platform/dialogs.h"
#include "platform/hotkeys.h"
#include "platform/notifications.h"
#include "platform/sound.h"
#include "platform/trayicon.h"
#include "shell/windowmanager.h"
#include "testcore.h"

#include <QApplication>
#include <QHash>
#include <functional>

// Records every box and answers from a script.
class FakeDialogs : public IDialogs {
public:
    struct Box {
        QString caption;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    Answer showMessageBox(QWidget* owner, const QString& caption, const QString& text, Icon icon,
                          Buttons buttons) override;
    void showErrorBox(const QString& text) override { errors.append(text); }
    QString saveFileName(QWidget*, const QString& title, const QString& filter,
                         const QString& fileName) override;
    QString openFileName(QWidget*, const QString& title, const QString& filter) override;

    QList<Box> boxes;
    QStringList errors;
    QStringList fileDialogTitles;
    QStringList fileDialogFilters;
    // Answers of Yes/No boxes, used in order; an unscripted one answers No.
    QList<Answer> answers;
    // Names the file dialogs return, used in order; empty means cancelled.
    QStringList fileNames;
    // Called as each message box is shown, to look at what stands behind it.
    std::function<void(const Box&)> onBox;
};

class FakeClock : public IClock {
public:
    QDateTime now() const override { return current; }
    void advanceSeconds(int seconds) { current = current.addSecs(seconds); }
    QDateTime current = QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC);
};

// Records what was played; a file listed in `failing` cannot be played.
class FakeSoundPlayer : public ISoundPlayer {
public:
    using ISoundPlayer::play;
    void play(const QList<TSound>& sounds) override;
    bool isPlaying(const QString& file) const override { return playing.contains(file); }
    void stop(const QString& file) override {
        playing.removeAll(file);
        stopped.append(file);
    }
    QStringList played; // one entry per sound, "file x times"
    QStringList stopped;
    bool noDevice = false; // as without an audio output
    QStringList failing;
    QStringList playing;
};

// Remembers the registered combinations; press() delivers one.
class FakeHotKeys : public IHotKeys {
public:
    bool registerHotKey(int id, QKeyCombination keys) override;
    void unregisterHotKey(int id) override { registered.remove(id); }
    void press(int id) { emit activated(id); }
    QHash<int, QKeyCombination> registered;
    bool refuse = false;         // as when another program holds every combination
    QList<QKeyCombination> held; // combinations another program holds
};

// The notification area as a log of what the tray component sent it.
// Records the links it is asked to open; answers at once.
class FakeDesktopLinks : public IDesktopLinks {
public:
    void open(const QUrl& url, std::function<void(bool)> done) override {
        opened.append(url.toString(QUrl::FullyEncoded));
        if (done)
            done(canOpen);
    }
    QStringList opened;
    bool canOpen = true;
};

// Records the notification shown; answer() and dismiss() play the user.
class FakeNotifications : public INotifications {
public:
    struct Shown {
        QString summary, body;
        QStringList actions; // "key=label"
    };
    void show(const QString& summary, const QString& body, const QList<Action>& list) override;
    void close() override { open = false; }
    void answer(const QString& key) { emit actionInvoked(key); }
    void dismiss() {
        open = false;
        emit dismissed();
    }
    QList<Shown> shown;
    bool open = false;
    bool service = true; // a notification service answers
};

class FakeTrayArea : public ITrayArea {
public:
    struct State {
        QStringList calls; // "add <tip>", "modify <flags> <tip>", "remove", "menu"
        bool shown = false;
        bool available = true; // a notification area is there
        QString tip;
        qint64 icon = 0; // the icon's cache key
        QPointer<QMenu> menu;
        FakeTrayArea* area = nullptr; // the area made last
    };
    explicit FakeTrayArea(std::shared_ptr<State> state) : m_state(std::move(state)) {
        m_state->area = this;
    }
    ~FakeTrayArea() override {
        if (m_state->area == this)
            m_state->area = nullptr;
    }
    void add(const QIcon& icon, const QString& tip) override;
    void modify(int flags, const QIcon& icon, const QString& tip) override;
    void remove() override;
    void setMenu(QMenu* menu) override;
    bool available() const override { return m_state->available; }
    void click() {
        if (onLeftClick)
            onLeftClick();
    }

private:
    std::shared_ptr<State> m_state;
};

// A program context with fakes for every desktop service, in the current
// working folder as its home folder.
struct TestContext {
    TestContext();
    FakeDialogs dialogs;
    FakeClock clock;
    FakeSoundPlayer sound;
    FakeHotKeys hotKeys;
    FakeDesktopLinks links;
    FakeNotifications notifications;
    std::shared_ptr<FakeTrayArea::State> tray = std::make_shared<FakeTrayArea::State>();
    TProgramContext context;
};

class Tformvelmorand;
class TRecordWindow;

// The program's windows on a TestContext, made through the window manager
// as the program makes them.
struct TestProgram {
    TestProgram();
    // The start-up and the first show, as the program does them; returns
    // once the last window is active (unless the program starts hidden).
    bool start();
    TestContext t;
    TWindowManager windows;
    Tformvelmorand* main;
    // The record window by last-window name, and which windows are visible.
    TRecordWindow* record(const QString& name) const;
    QStringList visibleWindows() const;
};

// Waits until the window has the keyboard focus (a window owned by an
// active window counts as active to Qt without having the focus).
bool WaitForFocus(QWidget* window);

// The captions of a window's list (zoznam), in their order.
QStringList ListCaptions(const QWidget* window);
// What a window's reading pane shows, as plain text; empty without a pane.
QString PaneText(const QWidget* window);
// The links in a window's reading pane, in their order, as the pane hands them out.
QStringList PaneLinks(const QWidget* window);
// Runs a window's menu command by its name.
void Trigger(const QWidget* window, const char* command);
// The open top-level window of that kind, if any.
template <typename T> T* OpenWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<T*>(w); found && found->isVisible())
            return found;
    return nullptr;
}

// The open dialog of that kind once it has the focus; null when none is
// open or it never gets the focus.
template <typename T> T* ActiveDialog() {
    T* found = OpenWindow<T>();
    return found && WaitForFocus(found) ? found : nullptr;
}
// Makes the window active again, as when an editor or a dialog over it
// closes, and waits for its focus.
void BackTo(TRecordWindow* window);

#define VELMORAND_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char** argv) {                                                              \
        TestEnvironment environment;                                                               \
        TApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
