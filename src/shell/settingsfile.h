#pragma once

#include <QString>
#include <QStringList>

// The program's settings as Velmorand.ini holds them, nine lines:
//   2.0 / last window / Reminderwindows: 1 / Autoupdate: 1 / Anounce: 1 /
//   Hide: 0 / hot key 1 / hot key 2 / language
struct TSettings {
    static inline const QString FileName = QStringLiteral("Velmorand.ini");
    static inline const QString Version = QStringLiteral("2.0");

    QString lastWindow = QStringLiteral("poznamky");
    bool oknozdiara = true; // show a box when a reminder is switched off
    bool autoupdate = true; // look for a new version at start
    int mode = 1;           // time announcements, 0 to 3
    bool skrytokno = false; // hide the program at start
    QString hotKey1 = QStringLiteral("Ctrl+Shift+H");
    QString hotKey2 = QStringLiteral("Ctrl+Shift+O");
    QString language = QStringLiteral("Slovak");

    static bool IsWindowName(const QString& name);
};

// Reads the lines of a settings file into the settings. False, changing
// nothing, when the first line is not "2.0". A line 5 whose last character
// is not a mode leaves the mode as it was; a missing or empty line, or a
// value that cannot be meant (an unknown window name, a hot key that names
// no key), takes that line's default. modeRead tells whether line 5 set the mode.
bool ReadSettingsLines(const QStringList& lines, TSettings& settings, bool* modeRead = nullptr);
QStringList SettingsLines(const TSettings& settings);
