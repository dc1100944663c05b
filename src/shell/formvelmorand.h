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
class TProgramContext;
class TReminders;
class TTrayIkona;
class TUpdateCheck;

// The main window: the program's settings page. It owns the tray icon and
// its menu and the hot keys; its activation brings up the last record
// window, and its closing ends the program.
class Tformvelmorand : public QMainWindow {
    Q_OBJECT
public:
    Tformvelmorand(TProgramContext& context, TReminders& reminders);
    ~Tformvelmorand() override;

    // The start-up, from the settings to the data files and the timer.
    void FormCreate();
    // Hides the window one second from now (hide at start).
    void startHideTimer();

    // Settings: read (or defaults), write, defaults.
    void Nastavprogram();
    void Nastavdefauld();
    void Ulozini();
    // Applies the current language table to the window and the tray menu.
    void Aplikujjazyk();

    // The tray item that shows a hidden program, and the tray's menu.
    void setShowItemVisible(bool visible);
    QMenu* trayMenu() const { return Popup; }
    // Whether the desktop has a notification area for the tray icon.
    bool trayAvailable() const;
    // Ends the program: the window closes for good, whatever closing it
    // would otherwise do.
    void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    // The Jazyky menu's items for the language files.
    void Nacitajjazyky();
    void Urcijazyk();
    void Kontrolujstartup();
    // Registers the hot key the text names and shows it in the edit; false
    // when it names one that could not be had.
    bool registerHotKey(int id, const QString& text, QKeySequenceEdit* edit);
    // The same without showing it: whether it was had.
    bool grabHotKey(int id, const QString& text);
    // While a hot-key edit has the focus, the program's own hot keys are let
    // go, so that pressing one reaches the edit; they are taken again, as
    // applied, once the focus leaves the edits.
    void hotKeyEditFocus(QWidget* before, QWidget* now);
    // Shows the hot key the text names, or nothing for one that cannot be used.
    static void showHotKey(QKeySequenceEdit* edit, const QString& text);
    void FormActivate();
    // What the desktop assigned to the hot keys, where it assigns them.
    void showAssigned();
    void okClick();
    void Timer2Timer();
    void FormClose();
    void showSettingsInControls(bool setMode);
    // The hot key a hot-key edit stands for, as its text: empty when the
    // user emptied it; the stored text when the edit holds nothing usable
    // and the stored text names no usable combination, or when it holds a
    // combination that cannot be used.
    QString hotKeyOf(const QKeySequenceEdit* edit, const QString& stored) const;

    TProgramContext& m_context;
    TReminders& m_reminders;
    QMetaObject::Connection m_focusWatch;
    bool m_closed = false;
    // The program is to end when the window closes (Koniec, a signal).
    bool m_ending = false;
    // The settings file is there but could not be read: closing keeps it.
    bool m_settingsUnreadable = false;
    bool m_unreadableSaid = false;

    QCheckBox* oknozdiara;
    QCheckBox* skrytokno;
    QCheckBox* zatvorenievtray;
    QLabel* hotkeysource;
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
    TUpdateCheck* m_update;
};
