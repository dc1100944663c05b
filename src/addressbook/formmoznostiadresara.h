#pragma once

#include "context/captions.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class TFormadresar;

// The address book's options: which fields are chosen, whether editors
// show only those, and which name comes first. It reads the options when
// it opens and stores them on OK only.
class Tformmoznostiadresara : public QDialog, public ITranslatable {
    Q_OBJECT
public:
    explicit Tformmoznostiadresara(TFormadresar& window);

    void okClick();
    void Aplikujjazyk() override;

private:
    TFormadresar& m_window;
    QListWidget* volby;
    QCheckBox* pridavanie;
    QRadioButton* menoapriezvisko;
    QRadioButton* priezviskoameno;
    QPushButton* ok;
    QPushButton* zrusit;
};
