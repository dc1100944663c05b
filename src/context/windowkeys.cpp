#include "windowkeys.h"

#include "guard.h"

#include <QAction>
#include <QWidget>

void AddWindowKey(QWidget* window, IDialogs& dialogs, QKeyCombination keys,
                  std::function<void()> handler) {
    auto* action = new QAction(window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, window,
                     [&dialogs, handler = std::move(handler)] { Guarded(dialogs, handler); });
    window->addAction(action);
}
