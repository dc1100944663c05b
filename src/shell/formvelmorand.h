#pragma once

#include <QMainWindow>
#include <QTimer>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QKeySequenceEdit;
class QLabel;
class QMenu;
class QPushButton;
class TActivationTracker;
class TProgramContext;
class TReminders;
class TTrayIkona;

// The main window: the program's hub and its settings page. It owns the
// tray icon and the hot keys, hides and shows the program's windows as a
// group, and its closing ends the program.
class Tformvelmorand : public QMainWindow {
    Q_OBJECT
public:
    explicit Tformvelmorand(TProgramContext& context);
    ~Tformvelmorand() override;

    // The start-up, from the settings to the data files. False when it
    // failed; the error has then been shown and the program should end.
    bool FormCreate();

    // Hides every window of the program.
    void Skryvsetko();
    // Shows the window the last-window name names.
    void ShowLastWindow();
    // Hot key 2 and the tray item: hide all, or show the last window.
    void ToggleProgram();
    // Shows a window by its last-window name; "velmorand" is this window.
    void ShowWindowNamed(const QString& name);
    // A later start asked for the program: restore and raise what is shown;
    // hidden windows stay hidden while the tray icon can bring them back.
    void Restore();
    bool isProgramHidden() const { return m_hidden; }

    // Settings: read (or defaults), write, defaults.
    void Nastavprogram();
    void Nastavdefauld();
    void Ulozini();
    // The short confirmation sound; a failure is reported, not thrown.
    void Pipni();
    // Switches a ringing alarm off; without one it does nothing.
    void Vypnialarm();
    // Looks up the next pending diary reminder and shows it in the tray tip.
    void Najdizaznam();
    TReminders& reminders() { return *m_reminders; }
    // Whether switching an alarm off shows the reminder in a box.
    bool showsReminderBox() const;
    // The tray item that switches a ringing alarm off.
    void setAlarmItemVisible(bool visible);

    TActivationTracker& activation() { return *m_activation; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void Aplikujjazyk();
    void Urcijazyk();
    void Kontrolujstartup();
    void registerHotKey(int id, const QString& text, QKeySequenceEdit* edit);
    void FormActivate();
    void okClick();
    void Timer2Timer();
    void FormClose();
    void showSettingsInControls(bool setMode);

    TProgramContext& m_context;
    bool m_hidden = false;
    bool m_closed = false;
    TActivationTracker* m_activation;
    TReminders* m_reminders = nullptr;

    QCheckBox* oknozdiara;
    QCheckBox* skrytokno;
    QCheckBox* autorun;
    QCheckBox* autoupdate;
    QPushButton* hladatupdate;
    QGroupBox* RadioGroup;
    QButtonGroup* radioItems;
    QLabel* vyzvadiar;
    QKeySequenceEdit* HotKey1;
    QLabel* vyzvaokno;
    QKeySequenceEdit* HotKey2;
    QPushButton* kos;
    QPushButton* vymazat;
    QPushButton* ok;

    QMenu* Program1;
    QAction* pomoc;
    QAction* about;
    QAction* mailaut;
    QAction* wwwaut;
    QAction* koniec;
    QMenu* Jazyky;
    QAction* generovat;
    QAction* slovak;

    TTrayIkona* TrayIkona;
    QMenu* Popup;
    QAction* vypnialarmpopup;
    QAction* zobrazitoknopopup;
    QAction* koniecpopup;

    QTimer Timer2;
};
