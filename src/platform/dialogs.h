#pragma once

#include "storage/exception.h"

#include <QString>
#include <functional>

class QWidget;

// Message boxes and file dialogs. Windows never open them directly, so that
// tests can answer them from a script.
class IDialogs {
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    // YesNo has Yes as its default button, NoYes the same two buttons with No.
    enum class Buttons { Ok, YesNo, NoYes };
    enum class Answer { Ok, Yes, No };

    virtual ~IDialogs() = default;

    // A modal message box; the answer is the button the user chose
    // (No when a Yes/No box is closed without a choice). The text is shown
    // as plain text, as an excerpt when it is long.
    Answer messageBox(QWidget* owner, const QString& caption, const QString& text, Icon icon,
                      Buttons buttons = Buttons::Ok);
    // The standard error box that shows what ended a command.
    void errorBox(const QString& text);
    // The same for an error: the user reads what went wrong in the interface
    // language (as the error texts say it), the detail goes to stderr.
    void errorBox(const Exception& error);
    void setErrorTexts(std::function<QString(const Exception&)> texts) {
        m_errorTexts = std::move(texts);
    }

    // While the program ends on a signal or with the desktop session, no
    // one is there to answer a box: what boxes would say goes to stderr, and
    // a question takes the answer that changes nothing (No).
    void setUnattended(bool unattended) { m_unattended = unattended; }
    bool unattended() const { return m_unattended; }

    // What a box shows of a text: lines of at most 1,000 characters, at
    // most 200 of them, each cut marked with an ellipsis. A box of a whole
    // text of megabytes would take minutes to lay out and could not be read.
    static QString Excerpt(const QString& text, qsizetype lineLength = 1000,
                           qsizetype lineCount = 200);

protected:
    virtual Answer showMessageBox(QWidget* owner, const QString& caption, const QString& text,
                                  Icon icon, Buttons buttons) = 0;
    virtual void showErrorBox(const QString& text) = 0;

public:
    // The chosen file name, or empty when the user cancels. The working
    // folder is the same after the dialog as before it.
    virtual QString saveFileName(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& fileName) = 0;
    virtual QString openFileName(QWidget* owner, const QString& title, const QString& filter) = 0;

private:
    bool m_unattended = false;
    std::function<QString(const Exception&)> m_errorTexts;
};
