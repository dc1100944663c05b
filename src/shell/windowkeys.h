#pragma once

#include <QKeyCombination>
#include <QString>
#include <functional>

class IDialogs;
class QWidget;

// The F-keys that show the record windows, and the last-window name each
// one sets: F1 notes, F2 diary, F3 address book, F4 journal, F5 birthdays.
struct TWindowKey {
    Qt::Key key;
    const char16_t* name;
};
inline constexpr TWindowKey kWindowKeys[] = {{Qt::Key_F1, u"poznamky"},
                                             {Qt::Key_F2, u"diar"},
                                             {Qt::Key_F3, u"adresar"},
                                             {Qt::Key_F4, u"dennik"},
                                             {Qt::Key_F5, u"narodky"}};

// A key of the window that works whatever control has the focus; its
// handler runs inside the command guard.
void AddWindowKey(QWidget* window, IDialogs& dialogs, QKeyCombination keys,
                  std::function<void()> handler);
