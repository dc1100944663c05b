#pragma once

#include "records/groupedwindow.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TFormpoznamky;

// The note editor: a new note, a change of one note, or a note to read.
// The mode is fixed when it opens; it is closed by saving or cancelling.
class Tformzaznampoznamky : public QWidget {
    Q_OBJECT
public:
    using Mode = TGroupedWindow::EditorMode;

    // Update and view read the note `id` of the notes window's current group.
    Tformzaznampoznamky(TFormpoznamky& window, Mode mode, qint64 id);

    void ulozitClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TFormpoznamky& m_window;
    Mode m_mode;
    QString m_table; // the group of the note being changed
    qint64 m_id;

    QLabel* predmetvyzva;
    QLineEdit* predmetvstup;
    QLabel* obsahvyzva;
    QPlainTextEdit* obsahvstup;
    QPushButton* ulozit;
    QPushButton* zrusit;
};
