#pragma once

#include "platform/dialogs.h"
#include "storage/exception.h"

#include <QObject>
#include <exception>
#include <type_traits>
#include <utility>

// Every command (menu item, key, button, timer tick) runs inside this guard:
// an error ends the command, its text is shown in the error box, and the
// windows stay as they were. Nothing is let through to Qt's event loop.
// Answers whether the command ran to its end.
template <typename Command> bool Guarded(IDialogs& dialogs, Command&& command) {
    try {
        std::forward<Command>(command)();
        return true;
    } catch (const Exception& e) {
        dialogs.errorBox(e);
    } catch (const std::exception& e) {
        dialogs.errorBox(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

// A command given a signal's arguments when it takes them, else none.
template <typename Command, typename... Arguments>
void RunWithArguments(const Command& command, const Arguments&... arguments) {
    if constexpr (std::is_invocable_v<const Command&, const Arguments&...>)
        command(arguments...);
    else
        command();
}

// The one way a signal runs a command: in the guard above. The command
// takes the signal's arguments, or none of them.
template <typename Sender, typename Signal, typename Command>
QMetaObject::Connection ConnectGuarded(IDialogs& dialogs, Sender* sender, Signal signal,
                                       const QObject* context, Command command) {
    return QObject::connect(sender, signal, context,
                            [&dialogs, command = std::move(command)](const auto&... arguments) {
                                Guarded(dialogs, [&] { RunWithArguments(command, arguments...); });
                            });
}
