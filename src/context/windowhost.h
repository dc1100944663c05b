#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;
struct TModuleState;

// An F-key that shows a record window, and the last-window name it sets.
struct TWindowKey {
    Qt::Key key;
    QString name;
};

// What the windows ask of the program as a whole. The shell's window
// manager answers; a window never calls another window directly.
class IWindowHost {
public:
    virtual ~IWindowHost() = default;

    // F1 to F5: the record windows' keys, in the program's order.
    virtual const QList<TWindowKey>& windowKeys() const = 0;
    // Shows the window of a last-window name; "velmorand" is the main window.
    virtual void ShowWindowNamed(const QString& name) = 0;
    // Hides every window of the program.
    virtual void Skryvsetko() = 0;
    // Shows the window the last-window name names, ending a hide.
    virtual void ShowLastWindow() = 0;
    // Hides all, or shows the last window when the program is hidden.
    virtual void ToggleProgram() = 0;
    virtual bool isProgramHidden() const = 0;
    // Closes every record window; each writes its view file.
    virtual void CloseRecordWindows() = 0;
    // Closes every open editor, each asking first about changed text;
    // false when one is kept open.
    virtual bool CloseEditors() = 0;
    // The window of a kind's module reads its view file, makes the change
    // to its state and writes the file again: a change made from outside
    // the window (a wipe, a language) that keeps the window's other choices.
    virtual void RewriteView(const TModuleState& module,
                             const std::function<void(TModuleState&)>& change) = 0;
    // Applies the current language table to every window of the program.
    virtual void Aplikujjazyk() = 0;
    // Shows the window that searches every kind's records.
    virtual void ShowSearch() = 0;
    // Shows a record's window on its group, and the record in it to be read.
    virtual void OpenRecord(const QString& kind, const QString& table, qint64 id) = 0;
    // Closes the main window, which ends the program.
    virtual void EndProgram() = 0;
    // The short confirmation sound; a failure is reported, not thrown.
    virtual void Pipni() = 0;
    // Writes the settings file.
    virtual void Ulozini() = 0;
    // Runs the handler when the window is shown, or becomes active coming
    // from another window of the program.
    virtual void watchActivation(QWidget* window, std::function<void()> handler) = 0;
};

// The reminder timer as the windows see it.
class IReminders {
public:
    virtual ~IReminders() = default;
    // Looks up the pending diary reminder again and shows it in the tray tip.
    virtual void Najdizaznam() = 0;
};
