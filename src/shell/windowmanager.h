#pragma once

#include "context/windowhost.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QWidget;
class TActivationTracker;
class TProgramContext;
class TRecordWindow;
class TReminders;
class TSearch;
class TSearchWindow;
class Tformvelmorand;

// The program's windows as a group: it makes the main window and the record
// windows, shows the window of a last-window name, hides and shows them all
// together, and answers the windows' requests as their host. It also owns
// the reminder timer, which the context offers the windows as a service.
class TWindowManager : public QObject, public IWindowHost {
    Q_OBJECT
public:
    explicit TWindowManager(TProgramContext& context);
    ~TWindowManager() override;

    // The main window's start-up, then the record windows in their fixed
    // order, then the first show.
    void start();

    Tformvelmorand* main() const { return m_main.get(); }
    TReminders& reminders() const { return *m_reminders; }
    // The window of a last-window name; null for an unknown name.
    QWidget* window(const QString& name) const;
    TRecordWindow* record(const QString& name) const;
    const std::vector<std::unique_ptr<TRecordWindow>>& records() const { return m_records; }

    // Ends the program when no one is there to answer a box: on a signal
    // or with the desktop session. What cannot be written is said on stderr.
    void EndUnattended();
    // A later start asked for the program: restore and raise what is shown;
    // hidden windows stay hidden while the tray icon can bring them back.
    void Restore();
    // Applies the current language table to every window.
    void Aplikujjazyk() override;

    const QList<TWindowKey>& windowKeys() const override { return m_keys; }
    void ShowWindowNamed(const QString& name) override;
    void Skryvsetko() override;
    void ShowLastWindow() override;
    // Hides all; shows the last window when the program is hidden or when
    // none of its windows is on the screen.
    void ToggleProgram() override;
    bool isProgramHidden() const override { return m_hidden; }
    void CloseRecordWindows() override;
    bool CloseEditors() override;
    void RewriteView(const TModuleState& module,
                     const std::function<void(TModuleState&)>& change) override;
    void EndProgram() override;
    void ShowSearch() override;
    void OpenRecord(const QString& kind, const QString& table, qint64 id) override;
    void Pipni() override;
    void Ulozini() override;
    void watchActivation(QWidget* window, std::function<void()> handler) override;

private:
    // Shows a record's window on its group (of that caption) and the record
    // in it to be read.
    void openRecord(const QString& kind, const QString& table, const QString& caption, qint64 id);
    void setHidden(bool hidden);
    // Whether no window of the program is on the screen, hidden or not.
    bool nothingShown() const;

    TProgramContext& m_context;
    QList<TWindowKey> m_keys;
    bool m_hidden = false;
    bool m_ending = false;
    // Boxes, dialogs and editors that the last hide-all hid, to come back.
    QList<QPointer<QWidget>> m_hiddenWithProgram;
    std::unique_ptr<TActivationTracker> m_activation;
    std::unique_ptr<TReminders> m_reminders;
    std::unique_ptr<TSearch> m_search;
    // Made at its first use, owned by the main window.
    QPointer<TSearchWindow> m_searchWindow;
    std::unique_ptr<Tformvelmorand> m_main;
    std::vector<std::unique_ptr<TRecordWindow>> m_records;
};
