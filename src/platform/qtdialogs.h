#pragma once

#include "dialogs.h"

// The dialogs of the desktop: QMessageBox and QFileDialog.
class TQtDialogs : public IDialogs {
public:
    Answer messageBox(QWidget* owner, const QString& caption, const QString& text, Icon icon,
                      Buttons buttons) override;
    void errorBox(const QString& text) override;
    QString saveFileName(QWidget* owner, const QString& title, const QString& filter,
                         const QString& fileName) override;
    QString openFileName(QWidget* owner, const QString& title, const QString& filter) override;
};
