#include "windowkeys.h"

#include "guard.h"

#include <QAction>
#include <QWidget>

void AddWindowKey(QWidget* window, IDialogs& dialogs, QKeyCombination keys,
                  std::function<void()> handler) {
    auto* action = new QAction(window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    ConnectGuarded(dialogs, action, &QAction::triggered, window, std::move(handler));
    window->addAction(action);
}
