#pragma once

#include "context/captions.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class TFormadresar;

// The import's configuration: which column of the file feeds which field.
// In the list, F1 moves the selected entry up, Ctrl moves it down and Space
// inserts an empty field there; each change beeps.
class Tformnastavinport : public QDialog, public ITranslatable {
    Q_OBJECT
public:
    explicit Tformnastavinport(TFormadresar& window);

    void okClick();
    void Aplikujjazyk() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The rows from the import state, the selected one selected.
    void Nacitajhlavicky();

    TFormadresar& m_window;
    QListWidget* volby;
    QLabel* klavesy;
    QCheckBox* preskocit;
    QPushButton* ok;
    QPushButton* zrusit;
};
