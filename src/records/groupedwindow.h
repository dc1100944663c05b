#pragma once

#include "recordwindow.h"

class QAction;
class QLabel;
class QMenu;
class QTreeView;
class TRecordListModel;
class TSQLiteTable;
struct TModuleState;

// What the notes, diary, journal and address book windows share: the list
// of the current group, the status line, the view file, bin and restore,
// the text export, the group commands and the keys. Each kind fills in its
// list, view file, export and editor.
class TGroupedWindow : public TRecordWindow {
    Q_OBJECT
public:
    // Language strings that differ by kind.
    struct Texts {
        int menu;        // the first top-level menu
        int exportTitle; // the export dialog's title
    };
    enum class EditorMode { View, Update, Insert };

    TGroupedWindow(TProgramContext& context, Kind kind, TModuleState& module, Texts texts);

    TModuleState& module() { return m_module; }
    // The id of the selected record; false when no item is selected.
    bool selectedId(qint64& id) const;

    // Refresh: title, list, enabled items, status line.
    void Aktualizuj();
    // Writes the view file.
    void Ulozini();

    void citat();
    void upravitClick();
    void novymenuClick();
    void vymazatClick();
    void obnovitClick();
    void exportClick();

    void novaskupinaClick();
    void premenovatskupinuClick();
    void prepnutClick();
    void zobrazitskupinyClick();
    void vymazatskupinuClick();
    void obnovitskupinyClick();

    // What the group dialogs do on their OK. Each throws on a database
    // error and then leaves the module state and the files as they were.
    void createGroup(const QString& caption);
    void renameGroup(const QString& caption);
    void chooseGroup(qint64 catalogueId);
    void Pipni();

protected:
    // The list query: id first, then what itemCaption reads.
    virtual QString listQuery() const;
    virtual QString itemCaption(const TSQLiteTable& row) const = 0;
    // The query of the export, and the lines written for one record.
    virtual QString exportQuery() const;
    virtual void exportRecord(const TSQLiteTable& row, QStringList& lines) const = 0;
    // The view file's lines, and reading them back (missing lines are empty).
    virtual QStringList viewLines() const;
    virtual void readViewLines(const QStringList& lines);
    // The records part of the status line.
    virtual QString recordsPart(int listed, qint64 visible) const;
    // Whether the list query lists the group through the view state's
    // filter (so that with the usual filter the list is the visible records).
    virtual bool listQueryListsTheGroup() const { return true; }
    virtual void openEditor(EditorMode mode, qint64 id) = 0;
    // The refresh after a delete, a restore or a group command.
    virtual void refresh() { Aktualizuj(); }
    // Runs first on every activation (the notes' welcome message).
    virtual void beforeActivate() {}

    void FormActivate() override;
    void FormClose() override;
    QString viewQueryTail() const;
    // A menu item named as designed, captioned by a language string, whose
    // command runs in the command guard.
    QAction* menuCommand(QMenu* menu, const char* name, int text, const QKeySequence& keys,
                         std::function<void()> command);

    QMenu* m_mainMenu;
    QMenu* m_groupMenu;
    QTreeView* zoznam;
    TRecordListModel* m_list;
    QLabel* m_status;
    QAction* novymenu;
    QAction* upravit;
    QAction* vymazat;
    QAction* obnovit;
    QAction* exportAction;
    QAction* koniec;

private:
    void buildMenus();
    void Stavovypozriadok(class TSQLiteDatabase& db, int listed);
    qint64 catalogueIdOf(TSQLiteDatabase& db, const QString& table);

    TModuleState& m_module;
    Texts m_texts;
};

// A caption made into a table name: letters with diacritics lose them,
// punctuation and blanks go; at most the first 255 characters are taken.
QString Konvertuj(const QString& caption);
