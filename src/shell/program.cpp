#include "program.h"

#include "context/guard.h"
#include "context/programcontext.h"
#include "formvelmorand.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/desktoplinks.h"
#include "platform/homefolder.h"
#include "platform/hotkeys.h"
#include "platform/notifications.h"
#include "platform/programicon.h"
#include "platform/qtdialogs.h"
#include "platform/qtsoundplayer.h"
#include "platform/singleinstance.h"
#include "platform/termination.h"
#include "platform/trace.h"
#include "platform/trayicon.h"
#include "settingsfile.h"
#include "storage/exception.h"
#include "storage/linefile.h"
#include "tracewindows.h"
#include "version.h"
#include "windowmanager.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScopeGuard>
#include <cstdio>
#include <cstdlib>
#include <utility>

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
        // Without an application object yet, Qt names no program.
        options.text = parser.helpText().replace(u"<executable_name>"_s, u"velmorand"_s);
    } else if (parser.isSet(version)) {
        options.action = StartOptions::Action::Version;
        options.text = u"velmorand "_s + QLatin1StringView(kVelmorandVersion) + u'\n';
    } else if (!parser.positionalArguments().isEmpty()) {
        options.action = StartOptions::Action::Error;
        options.text = u"Unexpected argument: %1\n"_s.arg(parser.positionalArguments().first());
    }
    options.home = parser.value(home);
    return options;
}

namespace {

// The language the settings file names, for what must be said before the
// program has read its settings; Slovak when that cannot be told.
TLanguageTable startLanguage() {
    TLanguageTable strings;
    try {
        TSettings settings;
        if (ReadSettingsLines(LineFile::read(TSettings::FileName), settings))
            strings.Nahrajretazce(settings.language);
    } catch (const Exception&) {
    }
    return strings;
}

bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen" && platform != u"minimal";
}

} // namespace

int RunVelmorand(const StartOptions& options) {
    const QString home = HomeFolder::resolve(options.home);
    try {
        HomeFolder::prepare(home);
    } catch (const EFileError& e) {
        std::fprintf(stderr, "velmorand: %s\n", e.what());
        if (hasDisplay())
            TQtDialogs().errorBox(e.message());
        return 1;
    }
    TSingleInstance instance(home);
    switch (instance.claim()) {
    case TSingleInstance::Claim::Running:
        break;
    case TSingleInstance::Claim::Woken:
        return 0;
    case TSingleInstance::Claim::Refused: {
        // Two copies must never write the same files: this one does not run.
        const QString text = startLanguage()[Str::LockRefused].arg(home, instance.lockPath());
        std::fprintf(stderr, "velmorand: %s\n", qPrintable(text));
        if (hasDisplay())
            TQtDialogs().errorBox(text);
        return 1;
    }
    }

    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(u"velmorand"_s);
    QApplication::setWindowIcon(ProgramIcon());

    TQtDialogs dialogs;
    TSystemClock clock;
    TQtSoundPlayer sound;
    const std::unique_ptr<IHotKeys> hotKeys = MakeSystemHotKeys();
    TXdgDesktopLinks links;
    TDBusNotifications notifications;
    TProgramContext context({dialogs, clock, sound, *hotKeys, links, notifications,
                             MakeSystemTrayArea,
                             TAutostart(QCoreApplication::applicationFilePath(), home)});
    context.home = home;

    std::unique_ptr<TTraceWindows> traced;
    if (Tracing())
        traced = std::make_unique<TTraceWindows>();
    TWindowManager windows(context);
    // What a slot outside any command lets go is said like a failed command.
    TApplication::setErrorHandler([&dialogs](std::exception_ptr error) {
        Guarded(dialogs, [&error] { std::rethrow_exception(error); });
    });
    const auto unset = qScopeGuard([] { TApplication::setErrorHandler(nullptr); });
    QObject::connect(&instance, &TSingleInstance::wakeRequested, &windows,
                     &TWindowManager::Restore);
    TTerminationWatcher termination;
    QObject::connect(&termination, &TTerminationWatcher::terminationRequested, &windows,
                     [&windows, asked = false]() mutable {
                         // A second request while the first one is still
                         // being served ends the process at once.
                         if (std::exchange(asked, true)) {
                             std::fputs("velmorand: ended at once\n", stderr);
                             std::_Exit(1);
                         }
                         windows.EndUnattended();
                     });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &windows,
                     &TWindowManager::EndUnattended);
    // The main window's start-up, then the record windows in their fixed order.
    windows.start();
    return QApplication::exec();
}
