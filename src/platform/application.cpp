#include "application.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <cstdio>

namespace {

// Whether a key that a field would take for its own editing (Ctrl+U erasing
// a line, say) is a command of the field's window: the window's commands
// come first. A field that records keys (a hot-key edit) keeps them all.
bool windowTakesKey(QObject* receiver, const QKeyEvent* key) {
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || qobject_cast<QKeySequenceEdit*>(widget) ||
        qobject_cast<QKeySequenceEdit*>(widget->parentWidget()))
        return false;
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (const QAction* action : widget->window()->findChildren<QAction*>())
        if (action->isEnabled() && action->shortcutContext() != Qt::WidgetShortcut &&
            action->shortcuts().contains(pressed))
            return true;
    return false;
}

TApplication::ErrorHandler& handler() {
    static TApplication::ErrorHandler current;
    return current;
}

} // namespace

void TApplication::setErrorHandler(ErrorHandler handler) {
    ::handler() = std::move(handler);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    // Not given to the field: the shortcut goes on to the window's command.
    if (event->type() == QEvent::ShortcutOverride &&
        windowTakesKey(receiver, static_cast<QKeyEvent*>(event)))
        return false;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        try {
            if (!handler())
                throw;
            handler()(error);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velmorand: %s\n", e.what());
        } catch (...) {
            std::fputs("velmorand: an unknown error\n", stderr);
        }
    }
    return false;
}
