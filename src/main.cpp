#include "platform/application.h"
#include "shell/program.h"
#include "version.h"

#include <cstdio>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Help and version are answered before anything opens a display.
    const StartOptions options = ParseCommandLine(arguments);
    switch (options.action) {
    case StartOptions::Action::Help:
    case StartOptions::Action::Version:
        std::fputs(options.text.toLocal8Bit().constData(), stdout);
        return 0;
    case StartOptions::Action::Error:
        std::fputs(options.text.toLocal8Bit().constData(), stderr);
        return 2;
    case StartOptions::Action::Run:
        break;
    }
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmorand"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVelmorandVersion));
    return RunVelmorand(options);
}
