#include "groupedwindow.h"

#include "context/captions.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "context/windowsize.h"
#include "groupdialogs.h"
#include "platform/dialogs.h"
#include "storage/sqlite.h"

#include <QMenu>

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

TGroupedWindow::TGroupedWindow(TProgramContext& context, const TRecordKind& kind,
                               TModuleState& module, Options options)
    : TListWindow(context, kind, module, options) {
    m_groupMenu = new QMenu(this);
    m_groupMenu->setObjectName(u"skupiny"_s);
    Caption(m_groupMenu, context.strings, Str::Groups);
    m_mainMenu->insertMenu(exportAction ? exportAction : koniec, m_groupMenu);
    const auto item = [this](const char* name, Str text, const char* keys,
                             void (TGroupedWindow::*run)()) {
        m_groupMenu->addAction(command(name, text, QKeySequence(QString::fromLatin1(keys)),
                                       [this, run] { (this->*run)(); }));
    };
    item("novaskupina", Str::NewGroup, "Ctrl+Shift+N", &TGroupedWindow::novaskupinaClick);
    item("premenovatskupinu", Str::RenameGroup, "Ctrl+Shift+U",
         &TGroupedWindow::premenovatskupinuClick);
    item("prepnut", Str::SwitchGroup, "Ctrl+Space", &TGroupedWindow::prepnutClick);
    item("zobrazitskupiny", Str::ShowAllGroups, "Ctrl+Shift+Z",
         &TGroupedWindow::zobrazitskupinyClick);
    item("vymazatskupinu", Str::DeleteGroup, "Ctrl+Shift+Del",
         &TGroupedWindow::vymazatskupinuClick);
    item("obnovitskupiny", Str::RestoreGroups, "Ctrl+Shift+R",
         &TGroupedWindow::obnovitskupinyClick);
}

QStringList TGroupedWindow::viewLines() const {
    const TModuleState& m = module();
    return {m.table, m.caption};
}

void TGroupedWindow::readViewLines(const QStringList& lines) {
    module().table = lines.value(0);
    module().caption = lines.value(1);
    checkGroup();
}

QString TGroupedWindow::title() const {
    return TListWindow::title() + u" - "_s + module().caption;
}

QString TGroupedWindow::viewQueryTail() const {
    const TModuleState& m = module();
    return SqlName(m.table) + u' ' + m.filter + u' ' + m.order + u' ' + m.direction + u' ';
}

QString TGroupedWindow::recordsPart(int, qint64 visible) const {
    return QString::number(visible);
}

QString TGroupedWindow::Stavovypozriadok(TSQLiteDatabase& db, int listed) {
    const auto count = [&db](const QString& sql) {
        TSQLiteTable t = db.Query(sql);
        return t.Rows() > 0 ? t.CellInt64(0) : 0;
    };
    // The records part counts the visible records whatever the filter says;
    // with the usual filter that is the list itself.
    const TModuleState& m = module();
    const qint64 visible =
        m.filter == u"where viditelnost=1" && listQueryListsTheGroup()
            ? listed
            : count(u"SELECT COUNT(*) FROM "_s + SqlName(m.table) + u" WHERE viditelnost=1 "_s);
    const qint64 groups = count(u"SELECT COUNT(*) FROM tables WHERE viditelnost=1"_s);
    const TLanguageTable& s = m_context.strings;
    return s[Str::RecordCount] + u": "_s + recordsPart(listed, visible) + u' ' +
           s[Str::GroupCount] + u": "_s + QString::number(groups);
}

// ---- groups --------------------------------------------------------------------

void TGroupedWindow::checkGroup() {
    TModuleState& m = module();
    const QByteArray stamp = DatabaseStamp(m.file);
    if (!stamp.isEmpty() && stamp == m_checkedStamp && m.table == m_checkedTable)
        return;
    TSQLiteDatabase db(m.file);
    // A group whose table an emptying of the bin dropped (3) is gone too.
    if (db.Query(u"SELECT id FROM tables WHERE nametable=?1 AND viditelnost<>3 LIMIT 1"_s,
                 {m.table})
            .Rows() == 0) {
        m.table = m.defaultTable;
        TSQLiteTable row = db.Query(u"SELECT captiontable FROM tables WHERE id="_s +
                                    QString::number(CatalogueId(db, m.table)));
        if (row.Rows() > 0)
            m.caption = row.CellTextOrEmpty(0);
    }
    m_checkedTable = m.table;
    m_checkedStamp = stamp;
}

void TGroupedWindow::novaskupinaClick() {
    ShowAtKeptSize(new Tformskupina(*this, Tformskupina::Mode::Create), m_context.own);
}

void TGroupedWindow::premenovatskupinuClick() {
    ShowAtKeptSize(new Tformskupina(*this, Tformskupina::Mode::Rename), m_context.own);
}

void TGroupedWindow::zobrazitskupinyClick() {
    ShowAtKeptSize(new Tformskupiny(*this), m_context.own);
}

void TGroupedWindow::createGroup(const QString& caption) {
    const TLanguageTable& s = m_context.strings;
    const QString table = Konvertuj(caption);
    // The table name is a plain identifier that other copies of the program
    // use unquoted: a letter first, then letters and digits, and no keyword.
    if (table.isEmpty() || !table.front().isLetter() ||
        !std::all_of(table.begin(), table.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        throw EGroupName(s[Str::GroupNameNeedsALetter]);
    if (IsSqlKeyword(table))
        throw EGroupName(s[Str::GroupNameReserved].arg(caption));
    {
        TSQLiteDatabase db(module().file);
        // Table names match whatever the case of their letters.
        TSQLiteTable taken = db.Query(u"SELECT captiontable FROM tables WHERE "_s
                                      u"lower(nametable)=lower(?1) AND viditelnost<>3 LIMIT 1"_s,
                                      {table});
        if (taken.Rows() > 0)
            throw EGroupName(s[Str::GroupNameTaken].arg(taken.CellTextOrEmpty(0)));
        if (db.HasTable(table))
            throw EGroupName(s[Str::GroupNameReserved].arg(caption));
        // The table and its catalogue row: both or neither.
        TSQLiteTransaction transaction(db);
        db.Execute(GroupTableDefinition(table, module().columns));
        db.Execute(u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES(?1,?2,1)"_s,
                   {table, caption});
        transaction.Commit();
    }
    module().table = table;
    module().caption = caption;
    Ulozini();
}

void TGroupedWindow::renameGroup(const QString& caption) {
    {
        TSQLiteDatabase db(module().file);
        db.Execute(u"UPDATE tables SET captiontable=?1 WHERE id=?2"_s,
                   {caption, CatalogueId(db, module().table)});
    }
    module().caption = caption;
    Ulozini();
}

void TGroupedWindow::chooseGroup(qint64 catalogueId) {
    {
        TSQLiteDatabase db(module().file);
        TSQLiteTable row =
            db.Query(u"SELECT * FROM tables WHERE id ="_s + QString::number(catalogueId));
        if (row.Rows() == 0)
            return;
        module().table = row.CellTextOrEmpty(row.ColumnIndex(u"nametable"_s));
        module().caption = row.CellTextOrEmpty(row.ColumnIndex(u"captiontable"_s));
    }
    Ulozini();
    m_context.host->Pipni();
}

void TGroupedWindow::prepnutClick() {
    const QString old = module().table;
    {
        TSQLiteDatabase db(module().file);
        // One pass over the catalogue in id order, from the current group on;
        // binned and emptied groups are passed over.
        TSQLiteTable groups =
            db.Query(u"SELECT id, nametable, captiontable, viditelnost FROM tables ORDER BY id"_s);
        const qint64 current = CatalogueId(db, old);
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
            module().table = std::get<1>(*next);
            module().caption = std::get<2>(*next);
        }
    }
    if (module().table != old)
        m_context.host->Pipni();
    refresh();
}

void TGroupedWindow::vymazatskupinuClick() {
    const TLanguageTable& s = m_context.strings;
    qint64 id;
    {
        TSQLiteDatabase db(module().file);
        id = CatalogueId(db, module().table);
    }
    if (m_context.dialogs.messageBox(nullptr, s[Str::ConfirmDeleteGroup],
                                     s[Str::ReallyDeleteGroup] + u' ' + module().caption + u'?',
                                     IDialogs::Icon::None,
                                     IDialogs::Buttons::YesNo) != IDialogs::Answer::Yes)
        return;
    {
        TSQLiteDatabase db(module().file);
        db.Execute(u"UPDATE tables  SET viditelnost=0 WHERE id="_s + QString::number(id));
    }
    prepnutClick();
}

void TGroupedWindow::obnovitskupinyClick() {
    {
        TSQLiteDatabase db(module().file);
        if (db.Query(u"SELECT id FROM tables where viditelnost=0 LIMIT 1"_s).Rows() > 0)
            db.Execute(u"UPDATE tables SET viditelnost='1' where viditelnost=0;"_s);
    }
    refresh();
}
