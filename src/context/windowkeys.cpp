#include "windowkeys.h"

#include "guard.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

void AddWindowKey(QWidget* window, IDialogs& dialogs, QKeyCombination keys,
                  std::function<void()> handler) {
    auto* action = new QAction(window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    ConnectGuarded(dialogs, action, &QAction::triggered, window, std::move(handler));
    window->addAction(action);
}

void AddMenuBarKey(QMainWindow* window, IDialogs& dialogs) {
    AddWindowKey(window, dialogs, QKeyCombination(Qt::Key_F10), [window] {
        QMenuBar* bar = window->menuBar();
        for (QAction* menu : bar->actions())
            if (menu->isVisible() && menu->isEnabled()) {
                bar->setFocus(Qt::MenuBarFocusReason);
                bar->setActiveAction(menu);
                return;
            }
    });
}
