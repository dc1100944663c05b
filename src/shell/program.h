#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for.
struct StartOptions {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString home;
    QString text; // help, version or error text
};

StartOptions ParseCommandLine(const QStringList& arguments);

// Runs the organiser: the home folder, the main window, the event loop.
// Needs a QApplication. Returns the process's exit code.
int RunVelmorand(const StartOptions& options);
