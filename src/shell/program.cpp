#include "program.h"

#include "formvelmorand.h"
#include "platform/clock.h"
#include "platform/homefolder.h"
#include "platform/qtdialogs.h"
#include "programcontext.h"
#include "storage/exception.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

StartOptions ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Velmorand, a personal organiser: notes, a diary with reminders, an address book, "
        "a journal and birthdays."_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help and exit."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Show the version and exit."_s);
    const QCommandLineOption home(
        u"home"_s,
        u"Keep data, settings, languages and sounds in DIR (default: $VELMORAND_HOME, "
        "else $XDG_DATA_HOME/velmorand)."_s,
        u"DIR"_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(home);

    StartOptions options;
    if (!parser.parse(arguments)) {
        options.action = StartOptions::Action::Error;
        options.text = parser.errorText() + u"\n"_s;
    } else if (parser.isSet(help)) {
        options.action = StartOptions::Action::Help;
        options.text = parser.helpText();
    } else if (parser.isSet(version)) {
        options.action = StartOptions::Action::Version;
        options.text = u"velmorand 2.1\n"_s;
    } else if (!parser.positionalArguments().isEmpty()) {
        options.action = StartOptions::Action::Error;
        options.text = u"Unexpected argument: %1\n"_s.arg(parser.positionalArguments().first());
    }
    options.home = parser.value(home);
    return options;
}

namespace {

bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen" && platform != u"minimal";
}

} // namespace

int RunVelmorand(const StartOptions& options) {
    try {
        HomeFolder::prepare(HomeFolder::resolve(options.home));
    } catch (const EFileError& e) {
        std::fprintf(stderr, "velmorand: %s\n", e.what());
        if (hasDisplay())
            QMessageBox::critical(nullptr, u"Velmorand"_s, e.message());
        return 1;
    }

    TQtDialogs dialogs;
    TSystemClock clock;
    TProgramContext context(dialogs, clock);
    Tformvelmorand main(context);
    if (!main.FormCreate())
        return 1;
    main.show();
    return QApplication::exec();
}
