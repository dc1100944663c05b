#pragma once

#include "context/settings.h"

#include <QStringList>

// Reads the lines of a settings file into the settings. False, changing
// nothing, when the first line is not "2.0". A line 5 whose last character
// is not a mode leaves the mode as it was; a missing or empty line, or a
// value that cannot be meant (an unknown window name, a hot key that names
// no key), takes that line's default. modeRead tells whether line 5 set the mode.
bool ReadSettingsLines(const QStringList& lines, TSettings& settings, bool* modeRead = nullptr);
QStringList SettingsLines(const TSettings& settings);
