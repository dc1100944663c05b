#pragma once

#include "context/settings.h"

#include <QStringList>

// Reads the lines of a settings file into the settings. False, changing
// nothing, when the first line is not "2.0". A line 5 whose last character
// is not a mode leaves the mode as it was; a missing or empty line, or an
// unknown window name, takes that line's default. A hot-key line is taken as
// it is, also when it names no combination. modeRead tells whether line 5
// set the mode.
bool ReadSettingsLines(const QStringList& lines, TSettings& settings, bool* modeRead = nullptr);
QStringList SettingsLines(const TSettings& settings);
