#pragma once

#include "language/strings.h"

class QObject;
class QWidget;
class TLanguageTable;

// Every caption remembers its language string: Caption sets the text of a
// menu, a menu item, a button, a label or a frame from the table and keeps
// the string's number on the object, so that Recaption can set all of them
// again when the language changes.
void Caption(QObject* object, const TLanguageTable& strings, Str text);
// The property that holds a caption's language string.
inline constexpr char kCaptionProperty[] = "languageString";

// Sets every remembered caption of the object and of all its children from
// the table, and shows every date picker among them in the current locale.
void Recaption(QObject* root, const TLanguageTable& strings);

class QDate;
class QDateEdit;
// A date picker showing the long date of the current locale (that of the
// interface language), its calendar in the same locale.
void ShowLongDate(QDateEdit* picker);
// A day picker of that kind with a calendar that pops up, named and set to
// the day: the one every window and editor with a day uses.
QDateEdit* MakeDayPicker(const char* name, QDate day);

// A window or dialog that takes its texts from the language table, and
// takes them again when the language changes.
class ITranslatable {
public:
    virtual ~ITranslatable() = default;
    virtual void Aplikujjazyk() = 0;
};

class QBoxLayout;
class QDialog;
class QPushButton;
// Puts the OK and Zrušiť buttons at the bottom right of a dialog's layout:
// OK is the default button, Zrušiť rejects the dialog.
void AddOkCancel(QBoxLayout* layout, QDialog* dialog, const TLanguageTable& strings,
                 QPushButton*& ok, QPushButton*& zrusit);

// Applies the language to the window and to every window it owns (its
// editors and dialogs).
void ApplyLanguage(QWidget* window);
