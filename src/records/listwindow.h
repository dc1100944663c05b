#pragma once

#include "recordwindow.h"

#include <QByteArray>
#include <QKeySequence>
#include <QPointer>
#include <functional>
#include <optional>

#include "recordlist.h"

class QAction;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeView;
class QUrl;
class TPaneSplitter;
class TReadingPane;
class TRecordListModel;
class TImportRun;
class TSQLiteDatabase;
class TSQLiteRow;
class TSQLiteTable;
struct TModuleState;

// A record window built around a list: the records of its table, a status
// line, a view file read at every activation and written at every close,
// delete to the bin with its question, restore, and the text export. The
// birthdays window is one as it is; the grouped windows add the groups on
// top (TGroupedWindow). A kind fills in its query, captions, view file and
// editor, and may hook into the points below.
class TListWindow : public TRecordWindow {
    Q_OBJECT
public:
    struct Options {
        bool newCommand = true;        // the first menu has "Nový záznam"
        bool exportCommand = true;     // ... and "Export"
        Str exportTitle = Str::Export; // the export dialog's title
        bool multiSelection = false;
        bool header = false; // the list shows its column's caption
        int columnWidth = 400;
        // The names of the first menu and of its last item; by default the
        // window's name + "menu", and "koniec".
        const char* mainMenuName = nullptr;
        const char* endName = "koniec";
        // The selected record is shown beside the list (showInPane).
        bool readingPane = false;
    };
    enum class EditorMode { View, Update, Insert };

    TListWindow(TProgramContext& context, const TRecordKind& kind, TModuleState& module,
                Options options);

    TModuleState& module() { return m_module; }
    const TModuleState& module() const { return m_module; }
    // The import that is running into this window's group, if one is.
    TImportRun* runningImport() const;
    // The id of the selected record, the first one where several are
    // selected; false when no item is selected.
    bool selectedId(qint64& id) const;
    // The records an export of other programs' formats writes: the selected
    // ones where several are, else those the list shows while its filter
    // hides some; empty for all the list's records.
    QList<qint64> chosenIds() const;
    // What the status line shows.
    QString statusText() const;

    // Reads the view file and refreshes, unless nothing the list shows has
    // changed since the last refresh.
    void FormActivate() override;
    // Refresh: title, list, enabled items, status line. The selected record
    // stays selected; a record that is gone leaves its place to its
    // neighbour; in another group the first record is selected.
    void Aktualizuj();
    // The record to select at the next refresh.
    void selectAfterRefresh(qint64 id) { m_selectNext = id; }
    // Lists what an editor saved, with its record selected: at once, as
    // the editor may close over a box, whose closing is no activation.
    void showSaved(qint64 id) {
        m_selectNext = id;
        refresh();
    }
    // Writes the view file.
    void Ulozini();
    // Reads the view file, makes the change to the module state and writes
    // the file again.
    void rewriteView(const std::function<void(TModuleState&)>& change);

    void citat();
    // Opens the record of the current group to be read, over the window.
    void readRecord(qint64 id) { openEditor(EditorMode::View, id); }
    void upravitClick();
    void novymenuClick();
    void vymazatClick();
    void obnovitClick();
    void exportClick();
    // Shows or hides the reading pane, and keeps the choice.
    void citaciatablaClick();
    // Shows the search field above the list, with the keyboard in it; Esc
    // there empties and hides it, and the whole list is back.
    void hladatClick();
    void closeFilter();
    // The reading pane; null for a kind without one.
    TReadingPane* readingPane() const { return m_pane; }

protected:
    // ---- what each kind fills in
    // The list query: the record's id first, then what itemCaption reads.
    virtual QString listQuery() const = 0;
    // Writes the row's list caption onto the end of `caption` (empty when
    // called; its room is used again for every row).
    virtual void itemCaption(const TSQLiteRow& row, QString& caption) const = 0;
    // The query of the export, and the lines written for one record.
    virtual QString exportQuery() const { return listQuery(); }
    // The lines an export starts with (the address book's header).
    virtual QStringList exportHeader() const { return {}; }
    // Writes the record's lines onto the end of the export: in the files'
    // code page, each ended by CR LF.
    virtual void exportRecord(const TSQLiteRow&, QByteArray&) const {}
    // Writes what `query` lists into a file the user names (with `suffix`
    // when the name has none): `start`, then each row as `record` writes
    // it, streamed, then `end`. Says so when there is nothing to write.
    void exportAs(Str title, const QString& filter, const QString& suffix, const QString& query,
                  const QByteArray& start,
                  const std::function<void(const TSQLiteRow&, QByteArray&)>& record,
                  const QByteArray& end = QByteArray());
    // The file an import command reads, the kinds of `filters` first in
    // the dialog and all files last; empty when the user chose none, or
    // when an import is running (said in a box).
    QString importFile(Str title, const QString& filters);
    // Starts an import into the window's group, unless one is running.
    void startImport(TImportRun* import);
    // A line of the export: a text, or a column's stored bytes as they are.
    static void exportLine(QByteArray& out, const QString& text);
    static void exportLine(QByteArray& out, QByteArrayView stored);
    // The view file's lines, and reading them back (missing lines are empty).
    virtual QStringList viewLines() const = 0;
    virtual void readViewLines(const QStringList& lines) = 0;
    // The columns the reading pane shows of a record, and writing them
    // into it: the window reads the selected record's one row.
    virtual QString paneColumns() const { return QString(); }
    virtual void showInPane(const TSQLiteTable&, TReadingPane&) {}
    // Hands a link to the desktop; says so when no program takes it.
    void openLink(const QUrl& link);
    // Opens the record (or a new one) in the kind's editor.
    virtual void openEditor(EditorMode mode, qint64 id) = 0;
    // The commands of the list's own menu (a right click, the menu key), in
    // order; null for a separator.
    virtual QList<QAction*> contextActions() const;
    // That menu, made at its first use.
    QMenu* contextMenu();
    // Shows an editor made for this window in front, active, at the size
    // its kind's editor had when it last closed.
    void showEditor(QWidget* editor);

    // ---- hooks
    // The status line after a refresh; by default the records listed.
    virtual QString Stavovypozriadok(TSQLiteDatabase& db, int listed);
    // Runs first on every activation (the notes' welcome message).
    virtual void beforeActivate() {}
    // Runs first in every refresh.
    virtual void beforeRefresh() {}
    // Runs at the end of every refresh.
    virtual void afterRefresh() {}
    // The refresh after an activation, a delete, a restore or a group command.
    virtual void refresh() { Aktualizuj(); }
    // Whether edit and delete stay enabled while the list is empty.
    virtual bool keepsCommandsOnEmptyList() const { return false; }
    // What besides the data file, the view state and the language the list
    // depends on (the day a diary shows, say); an activation that finds all
    // of it as it was at the last refresh keeps the list.
    virtual QStringList listState() const { return {}; }

    // ---- building blocks for the kinds
    // A menu command named as designed, captioned by a language string,
    // running in the command guard. It belongs to the window; add it to a menu.
    QAction* command(const char* name, Str text, const QKeySequence& keys,
                     std::function<void()> run);
    // A command that reads or writes other programs' formats, in the first
    // menu after Export (and after those added before it).
    void addBesideExport(QAction* action);
    // A top-level menu after the ones there are.
    QMenu* addTopMenu(const char* name, Str text);
    // The "Zobraziť" menu, the last of the menu bar, made at its first use.
    QMenu* viewMenu();
    // A control above the list (the diary's date), or beside it (a form).
    void addControlAbove(QWidget* control);
    void addControlBeside(QWidget* control);
    void setStatusText(const QString& text);

    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QMenu* m_mainMenu;
    QTreeView* zoznam;
    TRecordListModel* m_list;
    QAction* novymenu = nullptr;
    QAction* upravit;
    QAction* vymazat;
    QAction* obnovit;
    QAction* exportAction = nullptr;
    QAction* citatAction;
    QMenu* m_contextMenu = nullptr;
    QAction* koniec;
    QPointer<TImportRun> m_running;

private:
    // Everything the list shows depends on; empty when that cannot be told.
    QByteArray listKey() const;
    // Selects the record of that id, else the row, else the first record.
    void select(qint64 id, int row);
    // The selected record into the pane, when the pane is shown.
    void showSelectedInPane();
    // The pane's state into the program's own settings.
    void keepPaneState();
    // Lists only the records that match the search field's words (all of
    // them when it is empty or hidden), the selection kept where it can be.
    void applyFilter();

    TModuleState& m_module;
    const Str m_exportTitle;
    QGridLayout* m_layout;
    QLabel* m_status;
    // The list's key at the last refresh that succeeded, and its group.
    QByteArray m_listedKey;
    QString m_listedTable;
    // The record to select next, 0 for none.
    qint64 m_selectNext = 0;
    // For the trace: the list has been filled, and painted since.
    bool m_filled = false;
    bool m_paintTraced = false;
    QLineEdit* m_filter;
    QAction* hladat;
    // The whole list while a search narrows it, and its status line.
    std::optional<TRecordItems> m_unfiltered;
    QString m_fullStatus;
    TReadingPane* m_pane = nullptr;
    TPaneSplitter* m_splitter = nullptr;
    QMenu* m_viewMenu = nullptr;
    QAction* m_paneAction = nullptr;
};
