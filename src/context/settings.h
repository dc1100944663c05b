#pragma once

#include <QFileInfo>
#include <QString>

// The program's settings as Velmorand.ini holds them, nine lines:
//   2.0 / last window / Reminderwindows: 1 / Autoupdate: 1 / Anounce: 1 /
//   Hide: 0 / hot key 1 / hot key 2 / language
// The three flags follow their check boxes on the settings page as they
// stand; the mode and the hot keys are those last applied with OK.
struct TSettings {
    static inline const QString FileName = QStringLiteral("Velmorand.ini");
    static inline const QString Version = QStringLiteral("2.0");
    // The last-window name of the main window itself.
    static inline const QString MainWindow = QStringLiteral("velmorand");

    QString lastWindow = QStringLiteral("poznamky");
    bool oknozdiara = true; // show a box when a reminder is switched off
    bool autoupdate = true; // look for a new version at start
    int mode = 1;           // time announcements, 0 to 3
    bool skrytokno = false; // hide the program at start
    QString hotKey1 = QStringLiteral("Ctrl+Shift+H");
    QString hotKey2 = QStringLiteral("Ctrl+Shift+O");
    QString language = QStringLiteral("Slovak");

    // Whether the settings file is there, readable or not.
    static bool FileIsThere() {
        const QFileInfo file(FileName);
        return file.exists() || file.isSymLink();
    }
};
