#pragma once

#include <QString>

class QWidget;

// Message boxes and file dialogs. Windows never open them directly, so that
// tests can answer them from a script.
class IDialogs {
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~IDialogs() = default;

    // A modal message box; the answer is the button the user chose
    // (No when a Yes/No box is closed without a choice).
    virtual Answer messageBox(QWidget* owner, const QString& caption, const QString& text,
                              Icon icon, Buttons buttons = Buttons::Ok) = 0;
    // The standard error box that shows what ended a command.
    virtual void errorBox(const QString& text) = 0;
    // The chosen file name, or empty when the user cancels. The working
    // folder is the same after the dialog as before it.
    virtual QString saveFileName(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& fileName) = 0;
    virtual QString openFileName(QWidget* owner, const QString& title, const QString& filter) = 0;
};
