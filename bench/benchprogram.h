#pragma once

// What the benchmarks that drive the program share: the rounds asked for
// and the settings file that opens the program on one window.
#include "shell/settingsfile.h"
#include "storage/linefile.h"

#include <algorithm>
#include <cstdlib>

// The rounds given as the first argument, else `fallback`.
inline int Rounds(int argc, char** argv, int fallback) {
    return argc > 1 ? std::max(1, std::atoi(argv[1])) : fallback;
}

// A settings file in the working folder that opens the program on the
// window of that last-window name.
inline void StartOn(const char* window) {
    TSettings settings;
    settings.lastWindow = QString::fromLatin1(window);
    LineFile::write(TSettings::FileName, SettingsLines(settings));
}
