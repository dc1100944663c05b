#pragma once

#include "context/captions.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class TGroupedWindow;
class TRecordListModel;

// The dialog that names a new group or renames the current one. It stays
// open, with what was typed, when the name is refused.
class Tformskupina : public QDialog, public ITranslatable {
    Q_OBJECT
public:
    enum class Mode { Create, Rename };
    Tformskupina(TGroupedWindow& window, Mode mode);

    void vytvoritClick();
    void Aplikujjazyk() override;

private:
    TGroupedWindow& m_window;
    Mode m_mode;
    QLabel* skupinavyzva;
    QLineEdit* skupinavstup;
    QPushButton* vytvorit;
    QPushButton* zrusit;
};

// The dialog that chooses a group from the visible ones.
class Tformskupiny : public QDialog, public ITranslatable {
    Q_OBJECT
public:
    explicit Tformskupiny(TGroupedWindow& window);

    void okClick();
    void Aplikujjazyk() override;

private:
    TGroupedWindow& m_window;
    QTreeView* zoznam;
    TRecordListModel* m_list;
    QPushButton* ok;
    QPushButton* zrusit;
};
