#include "listwindow.h"

#include "importrun.h"

#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/search.h"
#include "context/windowhost.h"
#include "context/windowsize.h"
#include "platform/desktoplinks.h"
#include "platform/dialogs.h"
#include "platform/trace.h"
#include "readingpane.h"
#include "recordlist.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSet>
#include <QStatusBar>
#include <QTreeView>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

TListWindow::TListWindow(TProgramContext& context, const TRecordKind& kind, TModuleState& module,
                         Options options)
    : TRecordWindow(context, kind), m_module(module), m_exportTitle(options.exportTitle) {
    m_list = new TRecordListModel(this);
    zoznam = new QTreeView;
    zoznam->setObjectName(u"zoznam"_s);
    zoznam->setModel(m_list);
    zoznam->setUniformRowHeights(true);
    zoznam->setRootIsDecorated(false);
    zoznam->setItemsExpandable(false);
    zoznam->setHeaderHidden(!options.header);
    zoznam->setColumnWidth(0, options.columnWidth);
    zoznam->setSelectionMode(options.multiSelection ? QAbstractItemView::ExtendedSelection
                                                    : QAbstractItemView::SingleSelection);
    zoznam->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Enter (or a double click) reads the record.
    ConnectGuarded(m_context.dialogs, zoznam, &QTreeView::activated, this, [this] { citat(); });
    if (Tracing())
        zoznam->viewport()->installEventFilter(this);
    auto* central = new QWidget;
    m_layout = new QGridLayout(central);
    m_layout->setContentsMargins(0, 0, 0, 0);
    if (options.readingPane) {
        m_pane = new TReadingPane;
        m_splitter = new TPaneSplitter(zoznam, m_pane);
        m_layout->addWidget(m_splitter, 2, 0);
        connect(zoznam->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this] { showSelectedInPane(); });
        connect(m_pane, &TReadingPane::linkActivated, this,
                [this](const QUrl& link) { openLink(link); });
    } else {
        m_layout->addWidget(zoznam, 2, 0);
    }
    m_filter = new QLineEdit;
    m_filter->setObjectName(u"hladatvstup"_s);
    m_filter->setClearButtonEnabled(true);
    m_filter->hide();
    m_layout->addWidget(m_filter, 1, 0);
    ConnectGuarded(m_context.dialogs, m_filter, &QLineEdit::textChanged, this,
                   [this] { applyFilter(); });
    // Esc empties the field and gives the list back; Enter or Down go to
    // the list.
    m_filter->installEventFilter(this);
    if (m_context.search)
        ConnectGuarded(m_context.dialogs, m_context.search, &TSearch::updated, this, [this] {
            if (m_unfiltered)
                applyFilter();
        });
    m_layout->setRowStretch(2, 1);
    m_layout->setColumnStretch(0, 1);
    setCentralWidget(central);
    statusBar()->setObjectName(u"statusbar"_s);
    statusBar()->setSizeGripEnabled(false);
    m_status = new QLabel(statusBar());
    m_status->setObjectName(u"statustext"_s);
    statusBar()->addWidget(m_status, 1);

    m_mainMenu = addTopMenu(options.mainMenuName, m_title);
    if (!options.mainMenuName)
        m_mainMenu->setObjectName(name() + u"menu"_s);
    if (options.newCommand)
        novymenu = command("novymenu", Str::NewRecord, QKeySequence(u"Ctrl+N"_s),
                           [this] { novymenuClick(); });
    upravit =
        command("upravit", Str::EditRecord, QKeySequence(u"Ctrl+U"_s), [this] { upravitClick(); });
    vymazat = command("vymazat", Str::DeleteRecord, QKeySequence(Qt::Key_Delete),
                      [this] { vymazatClick(); });
    obnovit = command("obnovit", Str::RestoreRecords, QKeySequence(u"Ctrl+R"_s),
                      [this] { obnovitClick(); });
    if (options.exportCommand)
        exportAction =
            command("export", Str::Export, QKeySequence(u"Ctrl+E"_s), [this] { exportClick(); });
    koniec = command(options.endName, Str::End, QKeySequence(Qt::AltModifier | Qt::Key_F1),
                     [this] { m_context.host->EndProgram(); });
    hladat = command("hladat", Str::FindCommand, QKeySequence::Find, [this] { hladatClick(); });
    for (QAction* item : {novymenu, upravit, vymazat, obnovit, exportAction, hladat, koniec})
        if (item)
            m_mainMenu->addAction(item);
    // Enter and a double click read the record; the list's own menu says so.
    citatAction = command("citat", Str::ReadRecord, QKeySequence(), [this] { citat(); });
    zoznam->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(zoznam, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The menu acts on the record clicked, which becomes the selected
        // one (unless it is among several selected).
        if (const QModelIndex clicked = zoznam->indexAt(at);
            clicked.isValid() && !zoznam->selectionModel()->isSelected(clicked))
            zoznam->setCurrentIndex(clicked);
        contextMenu()->popup(zoznam->viewport()->mapToGlobal(at));
    });
    if (m_pane) {
        const TOwnSettings::Pane kept = m_context.own.panes.value(name());
        m_paneAction = command("citaciatablaprepinac", Str::ReadingPane, QKeySequence(Qt::Key_F9),
                               [this] { citaciatablaClick(); });
        m_paneAction->setCheckable(true);
        m_paneAction->setChecked(kept.shown);
        viewMenu()->addAction(m_paneAction);
        m_pane->setVisible(kept.shown);
        m_splitter->setListShare(kept.listShare);
    }
}

QMenu* TListWindow::contextMenu() {
    if (!m_contextMenu) {
        m_contextMenu = new QMenu(this);
        m_contextMenu->setObjectName(u"kontextmenu"_s);
        for (QAction* item : contextActions()) {
            if (item)
                m_contextMenu->addAction(item);
            else
                m_contextMenu->addSeparator();
        }
    }
    return m_contextMenu;
}

QList<QAction*> TListWindow::contextActions() const {
    QList<QAction*> items{novymenu, citatAction, upravit, vymazat, obnovit};
    items.removeAll(nullptr);
    if (exportAction)
        items << nullptr << exportAction;
    return items;
}

QAction* TListWindow::command(const char* name, Str text, const QKeySequence& keys,
                              std::function<void()> run) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    Caption(action, m_context.strings, text);
    action->setShortcut(keys);
    ConnectGuarded(m_context.dialogs, action, &QAction::triggered, this, std::move(run));
    return action;
}

QMenu* TListWindow::viewMenu() {
    if (!m_viewMenu)
        m_viewMenu = addTopMenu("zobrazit", Str::View);
    return m_viewMenu;
}

void TListWindow::addBesideExport(QAction* action) {
    m_mainMenu->insertAction(hladat, action);
}

QMenu* TListWindow::addTopMenu(const char* name, Str text) {
    // The view menu stays the last, after the menus the kind adds.
    auto* menu = new QMenu(this);
    if (m_viewMenu)
        menuBar()->insertMenu(m_viewMenu->menuAction(), menu);
    else
        menuBar()->addMenu(menu);
    if (name)
        menu->setObjectName(QString::fromLatin1(name));
    Caption(menu, m_context.strings, text);
    return menu;
}

void TListWindow::addControlAbove(QWidget* control) {
    m_layout->addWidget(control, 0, 0, Qt::AlignLeft);
}

void TListWindow::addControlBeside(QWidget* control) {
    m_layout->addWidget(control, 0, 1, 3, 1);
}

bool TListWindow::selectedId(qint64& id) const {
    const QModelIndexList selected = zoznam->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return false;
    const auto first = std::min_element(
        selected.begin(), selected.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    id = m_list->idAt(first->row());
    return true;
}

QList<qint64> TListWindow::chosenIds() const {
    QList<qint64> ids;
    const QModelIndexList selected = zoznam->selectionModel()->selectedRows();
    if (selected.size() > 1) {
        for (const QModelIndex& row : selected)
            ids.append(m_list->idAt(row.row()));
    } else if (m_unfiltered) {
        for (int row = 0; row < m_list->count(); ++row)
            ids.append(m_list->idAt(row));
    }
    return ids;
}

QString TListWindow::statusText() const {
    return m_status->text();
}

void TListWindow::setStatusText(const QString& text) {
    m_status->setText(text);
}

// ---- view file and activation ------------------------------------------------

void TListWindow::Ulozini() {
    LineFile::write(m_module.view, viewLines());
}

void TListWindow::rewriteView(const std::function<void(TModuleState&)>& change) {
    if (QFileInfo::exists(m_module.view))
        readViewLines(LineFile::read(m_module.view));
    change(m_module);
    Ulozini();
}

void TListWindow::FormClose() {
    Ulozini();
    keepPaneState();
}

void TListWindow::FormActivate() {
    // The list waits for a running import, whose end lists what it stored.
    if (m_running)
        return;
    beforeActivate();
    if (QFileInfo::exists(m_module.view))
        readViewLines(LineFile::read(m_module.view));
    const QByteArray key = listKey();
    if (!key.isEmpty() && key == m_listedKey) {
        // Nothing the list shows has changed since it was made.
        const qint64 next = std::exchange(m_selectNext, 0);
        if (qint64 selected = 0; next != 0 || !selectedId(selected))
            select(next, 0);
        return;
    }
    refresh();
}

QByteArray TListWindow::listKey() const {
    const QByteArray stamp = DatabaseStamp(m_module.file);
    if (stamp.isEmpty())
        return QByteArray();
    const QStringList state =
        viewLines() + listState() + QStringList{QString::number(m_context.strings.generation())};
    return stamp + state.join(QChar(0)).toUtf8();
}

void TListWindow::showEditor(QWidget* editor) {
    ShowAtKeptSize(editor, m_context.own);
    editor->raise();
    editor->activateWindow();
}

void TListWindow::select(qint64 id, int row) {
    zoznam->clearSelection();
    if (m_list->count() == 0)
        return;
    const int byId = id != 0 ? m_list->rowOf(id) : -1;
    row = byId >= 0 ? byId : std::clamp(row, 0, m_list->count() - 1);
    zoznam->setCurrentIndex(m_list->index(row));
    zoznam->scrollTo(m_list->index(row));
}

// ---- the reading pane ------------------------------------------------------------

void TListWindow::citaciatablaClick() {
    if (!m_pane)
        return;
    // The action has toggled its mark already.
    m_pane->setVisible(m_paneAction->isChecked());
    showSelectedInPane();
    keepPaneState();
}

void TListWindow::keepPaneState() {
    if (!m_pane)
        return;
    TOwnSettings::Pane& kept = m_context.own.panes[name()];
    const TOwnSettings::Pane now{m_paneAction->isChecked(), m_splitter->listShare()};
    if (kept.shown == now.shown && kept.listShare == now.listShare)
        return;
    kept = now;
    if (!m_context.own.save())
        std::fprintf(stderr, "velmorand: the reading pane's state cannot be kept in %s\n",
                     qPrintable(TOwnSettings::FileName));
}

void TListWindow::showSelectedInPane() {
    if (!m_pane || m_pane->isHidden())
        return; // a hidden pane reads nothing
    m_pane->clearRecord();
    const QModelIndex current = zoznam->currentIndex();
    if (!current.isValid())
        return;
    // A record that cannot be read leaves the pane empty: the list, whose
    // refresh says what is wrong, is what the user acts on.
    try {
        TSQLiteDatabase db(m_module.file);
        const TSQLiteTable record = db.Query(u"SELECT "_s + paneColumns() + u" FROM "_s +
                                                 SqlName(m_module.table) + u" WHERE id=?1"_s,
                                             {m_list->idAt(current.row())});
        if (record.Rows() > 0)
            showInPane(record, *m_pane);
    } catch (const Exception& e) {
        m_pane->clearRecord();
        std::fprintf(stderr, "velmorand: the reading pane: %s\n", qPrintable(e.message()));
    }
    if (Tracing())
        Trace(u"pane: "_s + m_pane->firstLine());
}

void TListWindow::openLink(const QUrl& link) {
    QPointer<TListWindow> self(this);
    m_context.links.open(link, [self, link](bool opened) {
        if (opened || !self)
            return;
        const TLanguageTable& s = self->m_context.strings;
        const bool mail = link.scheme() == u"mailto";
        const QString target = mail ? link.path() : link.toDisplayString();
        self->m_context.dialogs.messageBox(
            nullptr, s[Str::Warning], s[mail ? Str::NoMailProgram : Str::NoLinkProgram].arg(target),
            IDialogs::Icon::Information);
    });
}

// ---- the list ------------------------------------------------------------------

void TListWindow::Aktualizuj() {
    beforeRefresh();
    // Where the user was: the selected record and its row, in this group.
    qint64 keep = std::exchange(m_selectNext, 0);
    int row = 0;
    if (qint64 selected = 0; m_listedTable == m_module.table && selectedId(selected)) {
        if (keep == 0)
            keep = selected;
        row = zoznam->currentIndex().row();
    }
    m_listedKey.clear();
    const QByteArray key = listKey();
    // A list is most often made again at about its size: room for that.
    const int count = m_list->count();
    const qsizetype characters = m_list->items().characters();
    m_list->clear();
    setWindowTitle(title());
    TSQLiteDatabase db(m_module.file);
    TRecordItems items;
    items.reserve(count + count / 8, characters + characters / 8);
    QString caption;
    db.QueryEach(listQuery(), [&](const TSQLiteRow& row) {
        caption.truncate(0);
        itemCaption(row, caption);
        items.append(row.CellInt64(0), caption);
    });
    items.squeeze();
    m_list->setItems(std::move(items));
    const bool enabled = m_list->count() > 0 || keepsCommandsOnEmptyList();
    upravit->setEnabled(enabled);
    vymazat->setEnabled(enabled);
    citatAction->setEnabled(m_list->count() > 0);
    select(keep, row);
    m_listedTable = m_module.table;
    m_fullStatus = Stavovypozriadok(db, m_list->count());
    setStatusText(m_fullStatus);
    m_unfiltered.reset();
    if (m_filter->isVisible() && !m_filter->text().isEmpty())
        applyFilter();
    // Search looks at the files again: the change that led here, if any.
    if (m_context.search)
        m_context.search->refresh();
    m_listedKey = key;
    m_filled = true;
    afterRefresh();
}

// ---- search ----------------------------------------------------------------------

void TListWindow::hladatClick() {
    m_filter->show();
    m_filter->setFocus();
    m_filter->selectAll();
}

void TListWindow::closeFilter() {
    m_filter->hide();
    m_filter->clear(); // gives the whole list back
    zoznam->setFocus();
}

void TListWindow::applyFilter() {
    const QString text = m_filter->isHidden() ? QString() : m_filter->text();
    qint64 keep = 0;
    selectedId(keep);
    const auto traced = [this] {
        if (Tracing())
            Trace(u"filtered: %1 %2"_s.arg(name()).arg(m_list->count()));
    };
    if (SearchExpression(text).isEmpty()) {
        if (m_unfiltered) {
            m_list->setItems(std::move(*m_unfiltered));
            m_unfiltered.reset();
            select(keep, 0);
        }
        setStatusText(m_fullStatus);
        traced();
        return;
    }
    if (!m_unfiltered)
        m_unfiltered = m_list->items();
    const bool available = m_context.search && m_context.search->available();
    const QList<qint64> hits =
        available ? m_context.search->find(text, name(), m_module.table) : QList<qint64>();
    const QSet<qint64> wanted(hits.begin(), hits.end());
    TRecordItems shown;
    for (int row = 0; row < m_unfiltered->count(); ++row)
        if (const qint64 id = m_unfiltered->idAt(row); wanted.contains(id))
            shown.append(id, m_unfiltered->captionAt(row));
    m_list->setItems(std::move(shown));
    select(keep, 0);
    const TLanguageTable& s = m_context.strings;
    setStatusText(available ? s[Str::FilterMatches].arg(m_list->count()).arg(m_unfiltered->count())
                            : s[Str::SearchUnavailable]);
    traced();
}

bool TListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            closeFilter();
            return true;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            zoznam->setFocus();
            return true;
        }
    }
    // When a filled list is first on the screen, for the start-up benchmark.
    if (event->type() == QEvent::Paint && m_filled && !m_paintTraced) {
        m_paintTraced = true;
        Trace(u"list painted: "_s + name());
    }
    return TRecordWindow::eventFilter(watched, event);
}

QString TListWindow::Stavovypozriadok(TSQLiteDatabase&, int listed) {
    return m_context.strings[Str::RecordCount] + u": "_s + QString::number(listed);
}

// ---- records -------------------------------------------------------------------

void TListWindow::citat() {
    qint64 id;
    if (selectedId(id))
        openEditor(EditorMode::View, id);
}

void TListWindow::upravitClick() {
    qint64 id;
    if (selectedId(id))
        openEditor(EditorMode::Update, id);
}

void TListWindow::novymenuClick() {
    openEditor(EditorMode::Insert, 0);
}

void TListWindow::vymazatClick() {
    qint64 id;
    if (!selectedId(id))
        return;
    const TLanguageTable& s = m_context.strings;
    if (m_context.dialogs.messageBox(nullptr, s[Str::ConfirmDeleteRecord],
                                     s[Str::ReallyDeleteRecord], IDialogs::Icon::None,
                                     IDialogs::Buttons::YesNo) == IDialogs::Answer::Yes) {
        TSQLiteDatabase db(m_module.file);
        db.Execute(u"UPDATE "_s + SqlName(m_module.table) + u" SET viditelnost=0 WHERE id="_s +
                   QString::number(id) + u";"_s);
    }
    refresh();
}

void TListWindow::obnovitClick() {
    {
        TSQLiteDatabase db(m_module.file);
        const QString table = SqlName(m_module.table);
        if (db.Query(u"SELECT id FROM "_s + table + u" where viditelnost=0 LIMIT 1"_s).Rows() > 0)
            db.Execute(u"UPDATE "_s + table + u" SET viditelnost='1';"_s);
    }
    refresh();
}

void TListWindow::exportLine(QByteArray& out, const QString& text) {
    out += Cp1250::encode(text);
    out += "\r\n";
}

void TListWindow::exportLine(QByteArray& out, QByteArrayView stored) {
    out += stored;
    out += "\r\n";
}

void TListWindow::exportClick() {
    QByteArray header;
    for (const QString& line : exportHeader())
        exportLine(header, line);
    exportAs(m_exportTitle, m_context.strings[Str::TextFiles], u"txt"_s, exportQuery(), header,
             [this](const TSQLiteRow& row, QByteArray& out) { exportRecord(row, out); });
}

QString TListWindow::importFile(Str title, const QString& filters) {
    const TLanguageTable& s = m_context.strings;
    if (m_running) {
        m_context.dialogs.messageBox(nullptr, s[Str::Import], s[Str::ImportRunning],
                                     IDialogs::Icon::Information);
        return QString();
    }
    return m_context.dialogs.openFileName(this, s[title], filters + u";;"_s + s[Str::AllFiles]);
}

TImportRun* TListWindow::runningImport() const {
    return m_running;
}

void TListWindow::startImport(TImportRun* import) {
    if (m_running) {
        delete import;
        return;
    }
    m_running = import;
    import->start();
}

void TListWindow::exportAs(Str title, const QString& filter, const QString& suffix,
                           const QString& query, const QByteArray& start,
                           const std::function<void(const TSQLiteRow&, QByteArray&)>& record,
                           const QByteArray& end) {
    const TLanguageTable& s = m_context.strings;
    if (TSQLiteDatabase(m_module.file).Query(u"SELECT EXISTS ("_s + query + u')').CellInt64(0) ==
        0) {
        m_context.dialogs.messageBox(nullptr, s[Str::NoRecords],
                                     s[Str::NoRecordsFound] + u"\n"_s + s[Str::CannotExport],
                                     IDialogs::Icon::Information);
        return;
    }
    QString file = m_context.dialogs.saveFileName(this, s[title], filter, QString());
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += u'.' + suffix;
    // Streamed: the records go out in pieces as they are read, so a large
    // export needs no room for all of it at once.
    LineFile::Writer out(file);
    out.buffer() += start;
    TSQLiteDatabase db(m_module.file);
    db.QueryEach(query, [&](const TSQLiteRow& row) {
        record(row, out.buffer());
        out.written();
    });
    out.buffer() += end;
    out.commit();
}
