#include "groupedwindow.h"

#include "groupdialogs.h"
#include "platform/dialogs.h"
#include "recordlist.h"
#include "shell/formvelmorand.h"
#include "shell/guard.h"
#include "shell/programcontext.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>

using namespace Qt::Literals::StringLiterals;

QString Konvertuj(const QString& caption) {
    static const QString removed = u".,:;?-()/_ \"§!"_s;
    static const std::pair<const char16_t*, char16_t> plain[] = {
        {u"áäÁÄ", u'a'}, {u"čČ", u'c'},  {u"ďĎ", u'd'},   {u"éÉěĚ", u'e'}, {u"íÍ", u'i'},
        {u"ĺĹľĽ", u'l'}, {u"ňŇ", u'n'},  {u"óÓôÔ", u'o'}, {u"ŕŔřŘ", u'r'}, {u"šŠ", u's'},
        {u"ťŤ", u't'},   {u"úÚů", u'u'}, {u"ýÝ", u'y'},   {u"žŽ", u'z'}};
    QString name;
    for (QChar c : QStringView(caption).left(255)) {
        if (removed.contains(c))
            continue;
        QChar mapped = c;
        for (const auto& [from, to] : plain)
            if (QStringView(from).contains(c))
                mapped = QChar(to);
        name += mapped;
    }
    return name;
}

TGroupedWindow::TGroupedWindow(TProgramContext& context, Kind kind, TModuleState& module,
                               Texts texts)
    : TRecordWindow(context, std::move(kind)), m_module(module), m_texts(texts) {
    m_list = new TRecordListModel(this);
    zoznam = new QTreeView(this);
    zoznam->setObjectName(u"zoznam"_s);
    zoznam->setModel(m_list);
    zoznam->setUniformRowHeights(true);
    zoznam->setRootIsDecorated(false);
    zoznam->setItemsExpandable(false);
    zoznam->header()->hide();
    zoznam->setColumnWidth(0, 400);
    zoznam->setSelectionMode(QAbstractItemView::SingleSelection);
    zoznam->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Enter (or a double click) reads the record.
    connect(zoznam, &QTreeView::activated, this,
            [this] { Guarded(m_context.dialogs, [this] { citat(); }); });
    setCentralWidget(zoznam);
    statusBar()->setObjectName(u"statusbar"_s);
    statusBar()->setSizeGripEnabled(false);
    m_status = new QLabel(statusBar());
    m_status->setObjectName(u"statustext"_s);
    statusBar()->addWidget(m_status, 1);
    buildMenus();
}

QAction* TGroupedWindow::menuCommand(QMenu* menu, const char* name, int text,
                                     const QKeySequence& keys, std::function<void()> command) {
    QAction* action = menu->addAction(m_context.strings[text]);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this,
            [this, command = std::move(command)] { Guarded(m_context.dialogs, command); });
    return action;
}

void TGroupedWindow::buildMenus() {
    const TLanguageTable& s = m_context.strings;
    const auto item = [this](QMenu* menu, const char* name, int text, QKeySequence keys,
                             void (TGroupedWindow::*command)()) {
        return menuCommand(menu, name, text, keys, [this, command] { (this->*command)(); });
    };
    m_mainMenu = menuBar()->addMenu(s[m_texts.menu]);
    m_mainMenu->setObjectName(kind().name + u"menu"_s);
    novymenu =
        item(m_mainMenu, "novymenu", 3, QKeySequence(u"Ctrl+N"_s), &TGroupedWindow::novymenuClick);
    upravit =
        item(m_mainMenu, "upravit", 4, QKeySequence(u"Ctrl+U"_s), &TGroupedWindow::upravitClick);
    vymazat =
        item(m_mainMenu, "vymazat", 5, QKeySequence(Qt::Key_Delete), &TGroupedWindow::vymazatClick);
    obnovit =
        item(m_mainMenu, "obnovit", 6, QKeySequence(u"Ctrl+R"_s), &TGroupedWindow::obnovitClick);
    m_groupMenu = m_mainMenu->addMenu(s[9]);
    m_groupMenu->setObjectName(u"skupiny"_s);
    item(m_groupMenu, "novaskupina", 10, QKeySequence(u"Ctrl+Shift+N"_s),
         &TGroupedWindow::novaskupinaClick);
    item(m_groupMenu, "premenovatskupinu", 11, QKeySequence(u"Ctrl+Shift+U"_s),
         &TGroupedWindow::premenovatskupinuClick);
    item(m_groupMenu, "prepnut", 12, QKeySequence(u"Ctrl+Space"_s), &TGroupedWindow::prepnutClick);
    item(m_groupMenu, "zobrazitskupiny", 205, QKeySequence(u"Ctrl+Shift+Z"_s),
         &TGroupedWindow::zobrazitskupinyClick);
    item(m_groupMenu, "vymazatskupinu", 13, QKeySequence(u"Ctrl+Shift+Del"_s),
         &TGroupedWindow::vymazatskupinuClick);
    item(m_groupMenu, "obnovitskupiny", 14, QKeySequence(u"Ctrl+Shift+R"_s),
         &TGroupedWindow::obnovitskupinyClick);
    exportAction =
        item(m_mainMenu, "export", 7, QKeySequence(u"Ctrl+E"_s), &TGroupedWindow::exportClick);
    koniec = m_mainMenu->addAction(s[8]);
    koniec->setObjectName(u"koniec"_s);
    koniec->setShortcut(QKeySequence(Qt::AltModifier | Qt::Key_F1));
    connect(koniec, &QAction::triggered, this, [this] { m_context.windows.main->close(); });
}

bool TGroupedWindow::selectedId(qint64& id) const {
    const QModelIndexList selected = zoznam->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return false;
    id = m_list->idAt(selected.first().row());
    return true;
}

// ---- view file and activation ------------------------------------------------

QStringList TGroupedWindow::viewLines() const {
    return {m_module.table, m_module.caption};
}

void TGroupedWindow::readViewLines(const QStringList& lines) {
    m_module.table = lines.value(0);
    m_module.caption = lines.value(1);
}

void TGroupedWindow::Ulozini() {
    LineFile::write(m_module.view, viewLines());
}

void TGroupedWindow::FormClose() {
    Ulozini();
}

void TGroupedWindow::FormActivate() {
    beforeActivate();
    if (QFileInfo::exists(m_module.view))
        readViewLines(LineFile::read(m_module.view));
    Aktualizuj();
}

// ---- the list ------------------------------------------------------------------

QString TGroupedWindow::viewQueryTail() const {
    return SqlName(m_module.table) + u' ' + m_module.filter + u' ' + m_module.order + u' ' +
           m_module.direction + u' ';
}

QString TGroupedWindow::listQuery() const {
    return u"SELECT * FROM "_s + viewQueryTail();
}

QString TGroupedWindow::exportQuery() const {
    return u"SELECT * FROM "_s + viewQueryTail();
}

QString TGroupedWindow::recordsPart(int, qint64 visible) const {
    return QString::number(visible);
}

void TGroupedWindow::Aktualizuj() {
    m_list->setItems({}, {});
    setWindowTitle(m_context.strings[kind().titleString] + u" - "_s + m_module.caption);
    TSQLiteDatabase db(m_module.file);
    TSQLiteTable rows = db.Query(listQuery());
    QStringList captions;
    std::vector<qint64> ids;
    captions.reserve(rows.Rows());
    ids.reserve(std::size_t(rows.Rows()));
    if (rows.Rows() > 0) {
        const int id = rows.ColumnIndex(u"id"_s);
        for (; !rows.AtEnd(); rows.Advance()) {
            ids.push_back(rows.CellInt64(id));
            captions.append(itemCaption(rows));
        }
    }
    m_list->setItems(std::move(captions), std::move(ids));
    upravit->setEnabled(m_list->count() > 0);
    vymazat->setEnabled(m_list->count() > 0);
    if (m_list->count() > 0)
        zoznam->setCurrentIndex(m_list->index(0));
    Stavovypozriadok(db, m_list->count());
}

void TGroupedWindow::Stavovypozriadok(TSQLiteDatabase& db, int listed) {
    const auto count = [&db](const QString& sql) {
        TSQLiteTable t = db.Query(sql);
        return t.Rows() > 0 ? t.CellInt64(0) : 0;
    };
    // The records part counts the visible records whatever the filter says;
    // with the usual filter that is the list itself.
    const qint64 visible = m_module.filter == u"where viditelnost=1" && listQueryListsTheGroup()
                               ? listed
                               : count(u"SELECT COUNT(*) FROM "_s + SqlName(m_module.table) +
                                       u" WHERE viditelnost=1 "_s);
    const qint64 groups = count(u"SELECT COUNT(*) FROM tables WHERE viditelnost=1"_s);
    const TLanguageTable& s = m_context.strings;
    statusBar()
        ->findChild<QLabel*>(u"statustext"_s)
        ->setText(s[41] + u": "_s + recordsPart(listed, visible) + u' ' + s[42] + u": "_s +
                  QString::number(groups));
}

// ---- records -------------------------------------------------------------------

void TGroupedWindow::citat() {
    qint64 id;
    if (selectedId(id))
        openEditor(EditorMode::View, id);
}

void TGroupedWindow::upravitClick() {
    qint64 id;
    if (selectedId(id))
        openEditor(EditorMode::Update, id);
}

void TGroupedWindow::novymenuClick() {
    openEditor(EditorMode::Insert, 0);
}

void TGroupedWindow::vymazatClick() {
    qint64 id;
    if (!selectedId(id))
        return;
    const TLanguageTable& s = m_context.strings;
    if (m_context.dialogs.messageBox(nullptr, s[28], s[29], IDialogs::Icon::None,
                                     IDialogs::Buttons::YesNo) == IDialogs::Answer::Yes) {
        TSQLiteDatabase db(m_module.file);
        db.Execute(u"UPDATE "_s + SqlName(m_module.table) + u" SET viditelnost=0 WHERE id="_s +
                   QString::number(id) + u";"_s);
    }
    refresh();
}

void TGroupedWindow::obnovitClick() {
    {
        TSQLiteDatabase db(m_module.file);
        const QString table = SqlName(m_module.table);
        if (db.Query(u"SELECT id FROM "_s + table + u" where viditelnost=0 LIMIT 1"_s).Rows() > 0)
            db.Execute(u"UPDATE "_s + table + u" SET viditelnost='1';"_s);
    }
    refresh();
}

void TGroupedWindow::exportClick() {
    TSQLiteTable rows = [this] {
        TSQLiteDatabase db(m_module.file);
        return db.Query(exportQuery());
    }();
    const TLanguageTable& s = m_context.strings;
    if (rows.Rows() == 0) {
        m_context.dialogs.messageBox(nullptr, s[36], s[37] + u"\n"_s + s[38],
                                     IDialogs::Icon::Information);
        return;
    }
    QString file = m_context.dialogs.saveFileName(this, s[m_texts.exportTitle], s[40], QString());
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += u".txt"_s;
    QStringList lines;
    for (; !rows.AtEnd(); rows.Advance())
        exportRecord(rows, lines);
    LineFile::write(file, lines);
}

// ---- groups --------------------------------------------------------------------

void TGroupedWindow::Pipni() {
    m_context.windows.main->Pipni();
}

qint64 TGroupedWindow::catalogueIdOf(TSQLiteDatabase& db, const QString& table) {
    TSQLiteTable row =
        db.Query(u"SELECT * FROM tables WHERE nametable LIKE "_s + SqlText(table) + u" "_s);
    return row.Rows() > 0 ? row.CellInt64(row.ColumnIndex(u"id"_s)) : 0;
}

void TGroupedWindow::novaskupinaClick() {
    auto* dialog = new Tformskupina(*this, m_context.strings, Tformskupina::Mode::Create);
    dialog->show();
}

void TGroupedWindow::premenovatskupinuClick() {
    auto* dialog = new Tformskupina(*this, m_context.strings, Tformskupina::Mode::Rename);
    dialog->show();
}

void TGroupedWindow::zobrazitskupinyClick() {
    auto* dialog = new Tformskupiny(*this, m_context.strings);
    dialog->show();
}

void TGroupedWindow::createGroup(const QString& caption) {
    const QString table = Konvertuj(caption);
    for (QChar c : table)
        if (!c.isLetterOrNumber())
            throw ESQLiteException(
                u"The group name \"%1\" gives no valid table name: %2"_s.arg(caption, table));
    {
        // The table and its catalogue row: both or neither.
        TSQLiteDatabase db(m_module.file);
        TSQLiteTransaction transaction(db);
        db.Execute(GroupTableDefinition(table, m_module.columns));
        db.Execute(u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES("_s +
                   SqlText(table) + u","_s + SqlText(caption) + u",1);"_s);
        transaction.Commit();
    }
    m_module.table = table;
    m_module.caption = caption;
    Ulozini();
}

void TGroupedWindow::renameGroup(const QString& caption) {
    {
        TSQLiteDatabase db(m_module.file);
        db.Execute(u"UPDATE tables SET captiontable="_s + SqlText(caption) +
                   u" WHERE nametable LIKE "_s + SqlText(m_module.table) + u";"_s);
    }
    m_module.caption = caption;
    Ulozini();
}

void TGroupedWindow::chooseGroup(qint64 catalogueId) {
    {
        TSQLiteDatabase db(m_module.file);
        TSQLiteTable row =
            db.Query(u"SELECT * FROM tables WHERE id ="_s + QString::number(catalogueId));
        if (row.Rows() == 0)
            return;
        m_module.table = row.CellTextOrEmpty(row.ColumnIndex(u"nametable"_s));
        m_module.caption = row.CellTextOrEmpty(row.ColumnIndex(u"captiontable"_s));
    }
    Ulozini();
    Pipni();
}

void TGroupedWindow::prepnutClick() {
    const QString old = m_module.table;
    {
        TSQLiteDatabase db(m_module.file);
        // One pass over the catalogue in id order, from the current group on;
        // binned and emptied groups are passed over.
        TSQLiteTable groups =
            db.Query(u"SELECT id, nametable, captiontable, viditelnost FROM tables ORDER BY id"_s);
        const qint64 current = catalogueIdOf(db, old);
        std::vector<std::tuple<qint64, QString, QString>> visible;
        if (groups.Rows() > 0) {
            const int id = groups.ColumnIndex(u"id"_s), name = groups.ColumnIndex(u"nametable"_s);
            const int caption = groups.ColumnIndex(u"captiontable"_s),
                      state = groups.ColumnIndex(u"viditelnost"_s);
            for (; !groups.AtEnd(); groups.Advance())
                if (groups.CellInt64(state) == 1)
                    visible.emplace_back(groups.CellInt64(id), groups.CellTextOrEmpty(name),
                                         groups.CellTextOrEmpty(caption));
        }
        if (!visible.empty()) {
            auto next = std::find_if(visible.begin(), visible.end(),
                                     [current](const auto& g) { return std::get<0>(g) > current; });
            if (next == visible.end())
                next = visible.begin();
            m_module.table = std::get<1>(*next);
            m_module.caption = std::get<2>(*next);
        }
    }
    if (m_module.table != old)
        Pipni();
    refresh();
}

void TGroupedWindow::vymazatskupinuClick() {
    const TLanguageTable& s = m_context.strings;
    qint64 id;
    {
        TSQLiteDatabase db(m_module.file);
        id = catalogueIdOf(db, m_module.table);
    }
    if (m_context.dialogs.messageBox(nullptr, s[34], s[35] + u' ' + m_module.caption + u'?',
                                     IDialogs::Icon::None,
                                     IDialogs::Buttons::YesNo) != IDialogs::Answer::Yes)
        return;
    {
        TSQLiteDatabase db(m_module.file);
        db.Execute(u"UPDATE tables  SET viditelnost=0 WHERE id="_s + QString::number(id));
    }
    prepnutClick();
}

void TGroupedWindow::obnovitskupinyClick() {
    {
        TSQLiteDatabase db(m_module.file);
        if (db.Query(u"SELECT id FROM tables where viditelnost=0 LIMIT 1"_s).Rows() > 0)
            db.Execute(u"UPDATE tables SET viditelnost='1' where viditelnost=0;"_s);
    }
    refresh();
}
