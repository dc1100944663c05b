#pragma once

// What the benchmarks that drive the program share: the rounds asked for
// and the settings file that opens the program on one window.
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "testsupport.h"

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

// Starts the program as it starts, then leaves its search index out: the
// index's own thread would take in what a round wrote (100,000 records take
// seconds) beside the next timed round, on a machine of two cores, and no
// window waits for it.
inline bool StartProgram(TestProgram& program) {
    if (!program.start())
        return false;
    program.t.context.search = nullptr;
    return true;
}
