#pragma once

#include "dialogs.h"

// The mark that the program's hide-all puts on a box it hides: the box
// waits, hidden, until the mark is taken away, and is then shown again.
inline constexpr char kHiddenWithProgram[] = "hiddenWithProgram";

class QProgressDialog;
// Ends a progress dialog whose work is done, at once: left to a later
// deletion, its timer could still show it over the box that follows (a box
// runs its own event loop, in which that deletion does not happen).
void CloseProgress(QProgressDialog* progress);

// The dialogs of the desktop: QMessageBox and QFileDialog.
class TQtDialogs : public IDialogs {
public:
    Answer showMessageBox(QWidget* owner, const QString& caption, const QString& text, Icon icon,
                          Buttons buttons) override;
    void showErrorBox(const QString& text) override;
    QString saveFileName(QWidget* owner, const QString& title, const QString& filter,
                         const QString& fileName) override;
    QString openFileName(QWidget* owner, const QString& title, const QString& filter) override;
};
