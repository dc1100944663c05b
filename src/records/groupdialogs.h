#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class TGroupedWindow;
class TLanguageTable;
class TRecordListModel;

// The dialog that names a new group or renames the current one. It stays
// open, with what was typed, when the name is refused.
class Tformskupina : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Create, Rename };
    Tformskupina(TGroupedWindow& window, const TLanguageTable& strings, Mode mode);

    void vytvoritClick();

private:
    TGroupedWindow& m_window;
    const TLanguageTable& m_strings;
    Mode m_mode;
    QLabel* skupinavyzva;
    QLineEdit* skupinavstup;
    QPushButton* vytvorit;
    QPushButton* zrusit;
};

// The dialog that chooses a group from the visible ones.
class Tformskupiny : public QDialog {
    Q_OBJECT
public:
    Tformskupiny(TGroupedWindow& window, const TLanguageTable& strings);

    void okClick();

private:
    TGroupedWindow& m_window;
    QTreeView* zoznam;
    TRecordListModel* m_list;
    QPushButton* ok;
    QPushButton* zrusit;
};
