#pragma once

#include <QString>

// The folder that holds the user's data, settings, language files and
// sounds, and is the working folder while the program runs: --home DIR,
// else $VELMORAND_HOME, else $XDG_DATA_HOME/velmorand.
namespace HomeFolder {

QString resolve(const QString& option);

// Creates the folder when missing, checks that it can be written, copies
// the shipped languages/ and sounds/ files that are missing there (from the
// installed data folder, else built in), and makes
// it the working folder. Throws EFileError with a message naming the folder.
void prepare(const QString& path);

} // namespace HomeFolder
