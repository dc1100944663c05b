#pragma once

#include <QKeyCombination>
#include <functional>

class IDialogs;
class QMainWindow;
class QWidget;

// A key of the window that works whatever control has the focus; its
// handler runs inside the command guard.
void AddWindowKey(QWidget* window, IDialogs& dialogs, QKeyCombination keys,
                  std::function<void()> handler);

// F10 opens the window's first menu, as on every desktop.
void AddMenuBarKey(QMainWindow* window, IDialogs& dialogs);
