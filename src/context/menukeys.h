#pragma once

class QString;
class QWidget;

// Every menu title, menu item, button and labelled field gets an Alt+letter
// key, chosen by the program from its caption in the current language (the
// language files carry no marks): unique within its menu bar and window,
// or its menu; a word's first letter where one is free, else any letter of
// the caption. The keys are chosen whenever a window or a menu is shown,
// and again when the language changes.

// Chooses the keys of a window (its menu bar with its buttons and labels)
// and of its menus.
void AssignMenuKeys(QWidget* window);
// Chooses them from now on for every window and menu as it is shown.
void InstallMenuKeys();
// Chooses the keys of the window again once the current event is handled
// (a caption changed); nothing while the window is not on the screen.
void RequestMenuKeys(QWidget* window);
// A caption without its key's mark ("&Nový" → "Nový", "A && B" → "A & B").
QString WithoutMenuKeys(const QString& caption);
