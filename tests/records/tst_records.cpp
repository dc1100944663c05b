// What every record window shares, run on each kind: the empty list, delete
// to the bin and restore, the status line, the export frame, and the six
// group commands where the kind has groups. A new kind adds a row to kCases.
#include "addressbook/addressbookview.h"
#include "addressbook/contactfields.h"
#include "context/menukeys.h"
#include "context/search.h"
#include "context/windowhost.h"
#include "records/groupdialogs.h"
#include "records/groupedwindow.h"
#include "records/readingpane.h"
#include "records/recordeditor.h"
#include "shell/binandwipe.h"
#include "shell/formvelmorand.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitterHandle>
#include <QTreeView>
#include <QTreeWidget>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A kind as these tests need to know it.
struct KindCase {
    const char16_t* name;
    // A statement that puts one record, whose list caption shows `text`, into
    // the table: %1 table, %2 text, %3 viditelnost, %4 the number of records
    // the table had before (records added later list later).
    const char16_t* insert;
    // The list caption of such a record.
    QString (*caption)(const QString& text, int number);
    const char16_t* title;
    const char16_t* exportTitle;
    // The definition of a group table made by "Nová skupina", as stored.
    const char16_t* groupTable;
    // The records part of the status line.
    QString (*records)(int listed, int visible);
    bool commandsOnEmptyList;
    // A group caption that gives the default group's table name.
    const char16_t* sameTable;
    const char16_t* defaultTable;
    // The title's first part in English.
    const char16_t* englishTitle;
    // The default group's caption.
    const char16_t* defaultCaption;
};

const KindCase kCases[] = {
    {u"poznamky",
     u"INSERT INTO %1(predmet,obsah,datum,datumzmeny,viditelnost) "
     u"VALUES(%2,'','2026-12-08 10:00:00','2026-12-08 10:00:00',%3)",
     [](const QString& text, int) { return text; }, u"Poznámky", u"Export poznámok",
     u"([id] INTEGER PRIMARY KEY, [predmet] varchar(30),[obsah] text,[datum] datetime,"
     u"[datumzmeny] datetime,[viditelnost] integer)",
     [](int, int visible) { return QString::number(visible); }, false, u"moje-poznámky",
     u"mojepoznamky", u"Notes", u"Moje poznámky"},
    {u"diar",
     u"INSERT INTO %1(datum,avizo,alarm,predmet,obsah,viditelnost) "
     u"VALUES('2026-12-08','2026-12-08 09:05:00',0,%2,'',%3)",
     [](const QString& text, int) { return u"9:05: "_s + text; }, u"Diár", u"Export diára",
     u"([id] INTEGER PRIMARY KEY, [datum] date,[avizo] datetime,[alarm] INTEGER,"
     u"[predmet] warchar(30),[obsah] text,[viditelnost] integer)",
     [](int listed, int visible) {
         return visible == 0 ? u"0"_s : u"%1/%2"_s.arg(listed).arg(visible);
     },
     true, u"môj-diár", u"mojdiar", u"Diary", u"Môj diár"},
    // A journal entry's caption is its day: the n-th entry is on the n-th
    // day of 2026.
    {u"dennik",
     u"INSERT INTO %1(datum,obsah,viditelnost) VALUES(date('2026-01-01','+%4 days'),%2,%3)",
     [](const QString&, int number) {
         return FormatDateTime(u"DDDD D MMMM YYYY"_s, Moment(QDate(2026, 1, 1).addDays(number)));
     },
     u"Denník", u"Export denníka",
     u"([id] INTEGER PRIMARY KEY, [datum] date,[obsah] text,[viditelnost] integer)",
     [](int, int visible) { return QString::number(visible); }, false, u"môj-denník", u"mojdennik",
     u"Journal", u"Môj denník"},
    // A contact's caption: the surname first, a blank, the first name (none
    // here), a blank. Its export is a table of values, tested on its own.
    {u"adresar", u"INSERT INTO %1(meno,priezvisko,viditelnost) VALUES('',%2,%3)",
     [](const QString& text, int) { return text + u"  "_s; }, u"Adresár", nullptr,
     u"([id] INTEGER PRIMARY KEY, [meno] varchar(20),[priezvisko] varchar(30),[ulica] "
     u"varchar(30),[psc] varchar(15),[mesto] varchar(30), [stat] varchar(20),[tel1] varchar(30),"
     u"[tel2] varchar(30),[mob1] varchar(30),[mob2] varchar(30),[mob3] varchar(30),[fax] "
     u"varchar(30),[mail1] varchar(30),[mail2] varchar(30),[mail3] varchar(30),[web] varchar(30),"
     u"[icq] varchar(20),[skype] varchar(30),[irc] varchar(30),[jabber] varchar(30),[msn] "
     u"varchar(30),[yahoo] varchar(30),[ain] varchar(30),[gadugadu] varchar(30),[viditelnost] "
     u"INTEGER)",
     [](int listed, int visible) {
         return visible == 0 ? u"0"_s : u"%1/%2"_s.arg(listed).arg(visible);
     },
     false, u"moje-kontakty", u"mojekontakty", u"Address book", u"Moje kontakty"},
};

const KindCase& caseOf(const QString& name) {
    for (const KindCase& c : kCases)
        if (name == QStringView(c.name))
            return c;
    qFatal("no kind %s", qPrintable(name));
}

// Adds the rows of a data-driven test: one per kind, or per kind with
// groups, each named after the kind.
void kindRows(const char* prefix = "", bool textExport = false) {
    QTest::addColumn<QString>("kind");
    for (const KindCase& c : kCases)
        if (!textExport || c.exportTitle)
            QTest::newRow((prefix + QString::fromUtf16(c.name)).toUtf8().constData())
                << QString::fromUtf16(c.name);
}

// A started program on a home folder that has its settings file (no
// welcome), with the kind's window active.
struct Window : TestProgram {
    explicit Window(const QString& name) : c(caseOf(name)) {
        TSettings settings;
        settings.lastWindow = name;
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        // The address book past its first-run notice, listing by order of
        // insertion as the other kinds do.
        if (name == u"adresar") {
            QDir().mkpath(u"data"_s);
            writeViewGroup(QString::fromUtf16(c.defaultTable),
                           QString::fromUtf16(c.defaultCaption));
        }
        if (!start() || !WaitForFocus(window()))
            qFatal("the %s window is not active", qPrintable(name));
    }
    const KindCase& c;
    TGroupedWindow* window() const {
        return static_cast<TGroupedWindow*>(record(QString::fromUtf16(c.name)));
    }
    TModuleState& module() const { return window()->module(); }
    QAction* action(const char* name) const {
        return window()->findChild<QAction*>(QString::fromLatin1(name));
    }
    void command(const char* name) const { action(name)->trigger(); }
    QTreeView* list() const { return window()->findChild<QTreeView*>(u"zoznam"_s); }
    QStringList captions() const { return ListCaptions(window()); }
    QString status() const { return window()->statusText(); }
    // The group the view file names: its table and caption.
    QStringList viewGroup() const {
        const int line = c.name == QStringView(u"adresar") ? 31 : 0;
        return LineFile::read(module().view).mid(line, 2);
    }
    void writeViewGroup(const QString& table, const QString& caption) const {
        if (c.name != QStringView(u"adresar")) {
            LineFile::write(module().view, {table, caption});
            return;
        }
        TAddressBookOptions options;
        options.firstRun = 1;
        options.values[TAddressBookOptions::SortKey] = 0;
        TModuleState view = t.context.modules.adresar;
        view.table = table;
        view.caption = caption;
        view.filter = SortFilter(0);
        view.order = SortOrder(0);
        LineFile::write(view.view, AddressBookViewLines(view, options));
    }
    QString expectedStatus(int listed, int visible, int groups) const {
        return u"Počet záznamov: %1 Počet skupín: %2"_s.arg(c.records(listed, visible)).arg(groups);
    }
    void execute(const QString& sql) const {
        TSQLiteDatabase db(module().file);
        db.Execute(sql);
    }
    // Puts a record into a table of the kind's file, straight through SQLite.
    void add(const QString& text, int visible = 1, QString table = QString()) {
        if (table.isEmpty())
            table = module().table;
        const int number = m_added[table]++;
        m_numbers.insert(text, number);
        execute(insertStatement(table, text, visible, number));
    }
    QString insertStatement(const QString& table, const QString& text, int visible,
                            int number) const {
        return QString::fromUtf16(c.insert).arg(table, SqlText(text)).arg(visible).arg(number);
    }
    // The list caption of a record added with that text.
    QString caption(const QString& text) const { return c.caption(text, m_numbers.value(text)); }
    QHash<QString, int> m_added;
    QHash<QString, int> m_numbers;
    QList<QStringList> rows(const QString& sql) const { return DbRows(module().file, sql); }
    void backToWindow() { BackTo(window()); }
    // Opens a new record's editor and closes it: the window is active again.
    void throughAnEditor() {
        command("novymenu");
        QTRY_COMPARE(otherWindows().size(), 1);
        QWidget* editor = otherWindows().first();
        if (!WaitForFocus(editor))
            qFatal("the editor did not become active");
        editor->close();
        backToWindow();
    }
    // The editor a command opens; null when none opened.
    TRecordEditor* editorOf(const char* name) {
        command(name);
        if (!QTest::qWaitFor([this] { return otherWindows().size() == 1; }))
            return nullptr;
        return qobject_cast<TRecordEditor*>(otherWindows().first());
    }
    // Puts the text into an editor's first field, whatever its kind; the
    // field's column.
    static QString typeFirst(TRecordEditor* editor, const QString& text) {
        QWidget* first = editor->form().firstEdit();
        if (auto* line = qobject_cast<QLineEdit*>(first))
            line->setText(text);
        else
            static_cast<QPlainTextEdit*>(first)->setPlainText(text);
        return first->objectName().chopped(5); // "...vstup"
    }
    // The windows that are not the program's own main or record windows.
    QList<QWidget*> otherWindows() const {
        QList<QWidget*> others;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != windows.window(TSettings::MainWindow) &&
                !qobject_cast<TRecordWindow*>(w))
                others.append(w);
        return others;
    }
};

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void konvertuj_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("table");
        // Capitals with diacritics become small letters; plain capitals stay.
        QTest::newRow("capital with diacritics") << u"Moje Úlohy"_s << u"Mojeulohy"_s;
        QTest::newRow("hyphen") << u"Práca-2008"_s << u"Praca2008"_s;
        QTest::newRow("all mapped") << u"áäÁÄčČďĎéÉěĚíÍĺĹľĽňŇóÓôÔŕŔřŘšŠťŤúÚůýÝžŽ"_s
                                    << u"aaaaccddeeeeiillllnnoooorrrrssttuuuyyzz"_s;
        QTest::newRow("removed") << u"a.b,c:d;e?f-g(h)i/j_k l\"m§n!o"_s << u"abcdefghijklmno"_s;
        QTest::newRow("capital Ů stays") << u"Ů"_s << u"Ů"_s;
        QTest::newRow("only removed characters") << u" - "_s << QString();
        QTest::newRow("255 characters") << QString(300, u'x') << QString(255, u'x');
        QTest::newRow("255 counted before removing")
            << QString(254, u'x') + u" yz"_s << QString(254, u'x');
    }
    void konvertuj() {
        QFETCH(QString, caption);
        QFETCH(QString, table);
        QCOMPARE(Konvertuj(caption), table);
    }

    void formFromATable() {
        TForm form(kContactFields, TLanguageTable());
        auto* grid = form.findChild<QGridLayout*>();
        QVERIFY(grid);
        QWidget* previous = nullptr;
        for (const TFormField& field : kContactFields) {
            const QString name = QString::fromLatin1(field.name);
            auto* edit = form.findChild<QLineEdit*>(name + u"vstup"_s);
            auto* label = form.findChild<QLabel*>(name + u"vyzva"_s);
            QVERIFY2(edit && label, field.name);
            QCOMPARE(label->buddy(), edit);
            QCOMPARE(label->text(), TLanguageTable()[field.label]);
            int row, column, rows, columns;
            grid->getItemPosition(grid->indexOf(edit), &row, &column, &rows, &columns);
            QCOMPARE(row, field.row);
            QCOMPARE(column, 2 * field.column + 1);
            // The focus goes through the fields in their order.
            if (previous) {
                QWidget* next = previous->nextInFocusChain();
                while (next->focusPolicy() == Qt::NoFocus)
                    next = next->nextInFocusChain();
                QCOMPARE(next, edit);
            }
            previous = edit;
        }
        QCOMPARE(form.findChildren<QLineEdit*>().size(), 24);
        QCOMPARE(form.findChild<QLabel*>(u"menovyzva"_s)->text(), u"Meno"_s);
        // The empty places keep their height.
        QVERIFY(grid->rowMinimumHeight(7) > 0);
        QVERIFY(grid->rowMinimumHeight(5) > 0);
        // A one-line field takes any length back whole.
        const QString longText(40000, u'x');
        form.setText(u"ulica"_s, longText);
        QCOMPARE(form.text(u"ulica"_s), longText);

        // Fields without places stand one under the other; a multi-line
        // field keeps its lines as CR LF.
        const TFormField note[] = {{"predmet", Str::Subject},
                                   {"obsah", Str::Content, TFormField::Text}};
        TForm stacked(note, TLanguageTable());
        QVERIFY(!stacked.findChild<QGridLayout*>());
        stacked.setText(u"obsah"_s, u"a\r\nb"_s);
        QCOMPARE(stacked.findChild<QPlainTextEdit*>(u"obsahvstup"_s)->toPlainText(), u"a\nb"_s);
        QCOMPARE(stacked.text(u"obsah"_s), u"a\r\nb"_s);
        stacked.clear();
        QCOMPARE(stacked.text(u"obsah"_s), QString());
    }

    void emptyList_data() { kindRows(); }
    void emptyList() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        QCOMPARE(w.window()->windowTitle(),
                 QString::fromUtf16(w.c.title) + u" - "_s + w.module().caption);
        QVERIFY(w.captions().isEmpty());
        QCOMPARE(w.action("upravit")->isEnabled(), w.c.commandsOnEmptyList);
        QCOMPARE(w.action("vymazat")->isEnabled(), w.c.commandsOnEmptyList);
        QCOMPARE(w.status(), u"Počet záznamov: 0 Počet skupín: 1"_s);
        if (w.c.exportTitle) {
            w.command("export");
            QCOMPARE(w.t.dialogs.boxes.size(), 1);
            QCOMPARE(w.t.dialogs.boxes[0].caption, u"Žiadne záznamy!"_s);
            QCOMPARE(w.t.dialogs.boxes[0].text,
                     u"Neboli nájdené žiadne záznamy!\nexport nie je možné vykonať!"_s);
            QVERIFY(w.t.dialogs.fileDialogTitles.isEmpty());
        }
        // Nothing selected: edit, read and delete do nothing.
        w.window()->upravitClick();
        w.window()->citat();
        w.window()->vymazatClick();
        QVERIFY(w.otherWindows().isEmpty());
        QCOMPARE(w.t.dialogs.boxes.size(), w.c.exportTitle ? 1 : 0);
    }

    void deleteAndRestore_data() { kindRows(); }
    void deleteAndRestore() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        w.add(u"prvá"_s);
        w.add(u"druhá"_s);
        w.window()->Aktualizuj();
        const QStringList both{w.caption(u"prvá"_s), w.caption(u"druhá"_s)};
        w.list()->setCurrentIndex(w.list()->model()->index(1, 0));
        w.t.dialogs.answers = {IDialogs::Answer::No};
        w.command("vymazat");
        QCOMPARE(w.t.dialogs.boxes.last().caption, u"Potvrdenie odstránenia záznamu"_s);
        QCOMPARE(w.t.dialogs.boxes.last().text, u"Naozaj chcete odstrániť záznam?"_s);
        QCOMPARE(w.t.dialogs.boxes.last().icon, IDialogs::Icon::None);
        QCOMPARE(w.captions(), both);
        QCOMPARE(w.list()->currentIndex().row(), 1); // refreshed, and still on it
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        w.command("vymazat");
        QCOMPARE(w.captions(), QStringList{w.caption(u"prvá"_s)});
        QCOMPARE(w.list()->currentIndex().row(), 0); // its neighbour
        QCOMPARE(w.rows(u"SELECT viditelnost FROM %1 ORDER BY id"_s.arg(w.module().table)),
                 (QList<QStringList>{{u"1"_s}, {u"0"_s}}));

        // Restore touches only the current group.
        w.execute(GroupTableDefinition(u"ina"_s, w.module().columns));
        w.add(u"v koši"_s, 0, u"ina"_s);
        w.command("obnovit");
        QCOMPARE(w.captions(), both);
        QCOMPARE(w.rows(u"SELECT viditelnost FROM ina"_s), QList<QStringList>{{u"0"_s}});
    }

    // The list's own menu (a right click) holds the window's commands and
    // acts on the record clicked; its "read" opens it to be read.
    void theListsOwnMenu_data() { kindRows(); }
    void theListsOwnMenu() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        w.add(u"prvá"_s);
        w.add(u"druhá"_s);
        w.window()->Aktualizuj();
        // A right click on the second record, while the first is selected.
        const QRect second = w.list()->visualRect(w.list()->model()->index(1, 0));
        emit w.list()->customContextMenuRequested(second.center());
        auto* menu = w.window()->findChild<QMenu*>(u"kontextmenu"_s);
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QStringList items;
        for (QAction* action : menu->actions())
            items.append(action->isSeparator() ? u"-"_s : action->objectName());
        QStringList expected{u"novymenu"_s, u"citat"_s, u"upravit"_s, u"vymazat"_s, u"obnovit"_s};
        if (w.window()->findChild<QAction*>(u"export"_s))
            expected << u"-"_s << u"export"_s;
        if (kind == u"adresar")
            expected << u"-"_s << u"poslatmail"_s;
        QCOMPARE(items, expected);
        menu->hide();
        // Delete bins the record clicked.
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        w.action("vymazat")->trigger();
        QCOMPARE(w.captions(), QStringList{w.caption(u"prvá"_s)});
        menu->actions()[1]->trigger();
        QTRY_COMPARE(w.otherWindows().size(), 1);
        auto* editor = qobject_cast<TRecordEditor*>(w.otherWindows().first());
        QVERIFY(editor);
        QCOMPARE(editor->mode(), TRecordEditor::Mode::View);
    }

    // The reading pane shows the selected record and follows the arrow keys
    // and a delete; F9 hides it, and the choice and the split outlive the
    // program.
    void theReadingPane_data() { kindRows(); }
    void theReadingPane() {
        QFETCH(QString, kind);
        TempHome home;
        const auto shown = [](const Window& w) {
            return PaneText(w.window()).section(u'\n', 0, 0);
        };
        const auto heading = [&kind](const Window& w, const QString& text) {
            return kind == u"diar" ? text : w.caption(text).trimmed();
        };
        double share;
        {
            Window w(kind);
            w.add(u"prvá"_s);
            w.add(u"druhá"_s);
            w.add(u"tretia"_s);
            w.window()->Aktualizuj();
            QCOMPARE(shown(w), heading(w, u"prvá"_s));
            QTest::keyClick(w.list(), Qt::Key_Down);
            QCOMPARE(shown(w), heading(w, u"druhá"_s));
            w.t.dialogs.answers = {IDialogs::Answer::Yes};
            w.command("vymazat");
            QCOMPARE(shown(w), heading(w, u"tretia"_s));
            // The user drags the split to the right.
            auto* splitter = w.window()->findChild<TPaneSplitter*>();
            QSplitterHandle* handle = splitter->handle(1);
            const QPoint middle = handle->rect().center();
            QTest::mousePress(handle, Qt::LeftButton, {}, middle);
            QTest::mouseMove(handle, middle + QPoint(120, 120));
            QTest::mouseRelease(handle, Qt::LeftButton, {}, middle + QPoint(120, 120));
            share = splitter->listShare();
            QVERIFY2(share > 0.45, qPrintable(QString::number(share)));
            QTest::keyClick(w.window(), Qt::Key_F9);
            QVERIFY(w.window()->readingPane()->isHidden());
        }
        Window again(kind);
        QVERIFY(again.window()->readingPane()->isHidden());
        QCOMPARE(again.window()->findChild<TPaneSplitter*>()->listShare(), share);
        QAction* toggle = again.action("citaciatablaprepinac");
        QVERIFY(!toggle->isChecked());
        toggle->trigger();
        QVERIFY(!again.window()->readingPane()->isHidden());
        // Shown again, it reads the selected record at once.
        QVERIFY(!shown(again).isEmpty());
        QVERIFY(again.captions().first().contains(shown(again)));
    }

    // Ctrl+F and typed words narrow the list to the group's records that
    // match each word's start, case and accents aside, the status line
    // counting them; a record added meanwhile is found; Esc gives the
    // whole list back. The view file knows nothing of it.
    void theFilter_data() { kindRows(); }
    void theFilter() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        w.add(u"Zubár"_s);
        w.add(u"Nákup"_s);
        w.add(u"zubná pasta"_s);
        w.add(u"zub v koši"_s, 0);
        w.window()->Aktualizuj();
        const QStringList all = w.captions();
        const QByteArray view = FileBytes(w.module().view);
        QTest::keyClick(w.window(), Qt::Key_F, Qt::ControlModifier);
        auto* field = w.window()->findChild<QLineEdit*>(u"hladatvstup"_s);
        QVERIFY(field->isVisible());
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, u"ZUB"_s);
        const QStringList matching{w.caption(u"Zubár"_s), w.caption(u"zubná pasta"_s)};
        QTRY_COMPARE(w.captions(), matching);
        QCOMPARE(w.status(), u"Vyhovuje: 2 z 3"_s);
        QTest::keyClicks(field, u" pa"_s);
        QTRY_COMPARE(w.captions(), QStringList{w.caption(u"zubná pasta"_s)});
        // Stored behind the window's back, listed at its next refresh.
        w.add(u"Zubný lekár"_s);
        w.window()->Aktualizuj();
        field->setText(u"zubny"_s);
        QTRY_COMPARE(w.captions(), QStringList{w.caption(u"Zubný lekár"_s)});
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!field->isVisible());
        QCOMPARE(w.captions().size(), all.size() + 1);
        QCOMPARE(FileBytes(w.module().view), view);
    }

    // Ctrl+Shift+F in a record window searches every kind and shown group:
    // a note and a contact found, a record in a binned group not; Enter on
    // the contact shows the address book on its group, the contact selected
    // and open to be read.
    void searchEverywhere() {
        TempHome home;
        QDir().mkdir(u"languages"_s);
        QFile::copy(u":/shipped/languages/English.lng"_s, u"languages/English.lng"_s);
        Window w(u"poznamky"_s);
        w.add(u"Zubár v piatok"_s);
        {
            QDir().mkpath(u"data"_s);
            TSQLiteDatabase contacts(u"data/Addressbook.dbf"_s);
            contacts.Execute(
                GroupTableDefinition(u"lekari"_s, w.t.context.modules.adresar.columns));
            contacts.Execute(u"INSERT INTO tables(nametable,captiontable,viditelnost) "
                             u"VALUES('lekari','Lekári',1),('stare','Staré',0)"_s);
            contacts.Execute(GroupTableDefinition(u"stare"_s, w.t.context.modules.adresar.columns));
            contacts.Execute(u"INSERT INTO lekari(meno,priezvisko,mesto,viditelnost) "
                             u"VALUES('Eva','Malá','Nitra',1),('Ján','Zubný','Trnava',1)"_s);
            contacts.Execute(u"INSERT INTO stare(meno,priezvisko,viditelnost) "
                             u"VALUES('Peter','Zubatý',1)"_s);
        }
        w.window()->Aktualizuj(); // the index looks at the files again
        QTest::keyClick(w.window(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QWidget* search = nullptr;
        QTRY_VERIFY((search = QApplication::activeWindow()) &&
                    search->objectName() == u"hladatvsade");
        auto* field = search->findChild<QLineEdit*>(u"hladatvsadevstup"_s);
        QTest::keyClicks(field, u"zub"_s);
        auto* results = search->findChild<QTreeWidget*>(u"vysledky"_s);
        const auto titles = [results] {
            QStringList all;
            for (int row = 0; row < results->topLevelItemCount(); ++row)
                all.append(results->topLevelItem(row)->text(3));
            return all;
        };
        QTRY_COMPARE(titles(), (QStringList{u"Zubár v piatok"_s, u"Ján Zubný"_s}));
        QCOMPARE(results->topLevelItem(1)->text(1), u"Lekári"_s);
        QTest::keyClick(field, Qt::Key_Down);
        QTest::keyClick(results, Qt::Key_Down);
        QTest::keyClick(results, Qt::Key_Return);
        TRecordEditor* editor = nullptr;
        QTRY_VERIFY((editor = OpenWindow<TRecordEditor>()));
        QCOMPARE(editor->mode(), TRecordEditor::Mode::View);
        QCOMPARE(editor->form().text(u"priezvisko"_s), u"Zubný"_s);
        auto* contacts = static_cast<TListWindow*>(w.record(u"adresar"_s));
        QCOMPARE(contacts->module().table, u"lekari"_s);
        const auto selected = [contacts] {
            qint64 id = 0;
            return contacts->selectedId(id) ? id : 0;
        };
        QTRY_COMPARE(selected(), 2);
        // The language switched: the window and what it lists in the new one.
        w.t.context.strings.Nahrajretazce(u"English"_s);
        w.windows.Aplikujjazyk();
        QCOMPARE(search->windowTitle(), u"Search everywhere"_s);
        QCOMPARE(results->headerItem()->text(0), u"Kind"_s);
        QCOMPARE(results->topLevelItem(1)->text(0), u"Address book"_s);
    }

    // Whatever changes a kind's records, the next search finds what is
    // shown and nothing else: a record saved, binned and restored, a group
    // binned and restored, everything wiped.
    void theIndexFollowsEveryChange_data() { kindRows(); }
    void theIndexFollowsEveryChange() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const auto found = [&](const QString& text) {
            int count = 0;
            for (const TSearchHit& hit : w.t.context.search->findAll(text, 500))
                count += hit.kind == kind;
            return count;
        };
        TRecordEditor* editor = w.editorOf("novymenu");
        QVERIFY(editor);
        Window::typeFirst(editor, u"Zubár Kováč"_s);
        editor->ulozitClick();
        w.backToWindow();
        QTRY_COMPARE(found(u"zubar kovac"_s), 1);
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        w.command("vymazat");
        QTRY_COMPARE(found(u"zubar"_s), 0);
        w.command("obnovit");
        QTRY_COMPARE(found(u"zubar"_s), 1);
        w.window()->createGroup(u"Dva"_s);
        w.add(u"Zubná pasta"_s);
        w.window()->Aktualizuj();
        QTRY_COMPARE(found(u"zub"_s), 2);
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        w.command("vymazatskupinu");
        QTRY_COMPARE(found(u"zub"_s), 1);
        w.command("obnovitskupiny");
        QTRY_COMPARE(found(u"zub"_s), 2);
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        vymazatClick(w.t.context, w.main);
        QTRY_COMPARE(found(u"zub"_s), 0);
    }

    // An editor opens at the size its content asks for, over its window;
    // the size the user gives it is its kind's from then on, also after a
    // restart.
    void editorsKeepTheirSize_data() { kindRows(); }
    void editorsKeepTheirSize() {
        QFETCH(QString, kind);
        TempHome home;
        const QSize chosen(777, 555);
        {
            Window w(kind);
            TRecordEditor* editor = w.editorOf("novymenu");
            QVERIFY(editor);
            QVERIFY(!editor->isMaximized());
            QCOMPARE(editor->size(), editor->sizeHint());
            editor->resize(chosen);
            editor->close();
        }
        Window again(kind);
        TRecordEditor* editor = again.editorOf("novymenu");
        QVERIFY(editor);
        QCOMPARE(editor->size(), chosen);
    }

    // An editor changes exactly the record it opened. Once that record is
    // gone, or its id names another record, a save changes nothing and
    // asks; No keeps the editor and its text, Yes stores it as a new record.
    void anEditorWhoseRecordIsGone_data() { kindRows(); }
    void anEditorWhoseRecordIsGone() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const QString table = w.module().table;
        const auto count = [&] { return w.rows(u"SELECT count(*) FROM "_s + table)[0][0]; };
        w.add(u"prvá"_s);
        w.window()->Aktualizuj();
        w.list()->setCurrentIndex(w.list()->model()->index(0, 0));
        QPointer editor = w.editorOf("upravit");
        QVERIFY(editor);
        QTest::keyClicks(editor->form().firstEdit(), u"Zmena"_s);

        w.execute(u"DELETE FROM "_s + table); // the bin emptied
        w.t.dialogs.answers = {IDialogs::Answer::No};
        editor->ulozitClick();
        QCOMPARE(w.t.dialogs.boxes.last().text,
                 u"Záznam, ktorý upravujete, bol medzitým vymazaný alebo zmenený. Chcete uložiť "
                 u"svoj text ako nový záznam?"_s);
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(count(), u"0"_s);

        w.add(u"druhá"_s); // a new record, with the freed id
        const QList<QStringList> other = w.rows(u"SELECT * FROM "_s + table);
        QCOMPARE(other.size(), 1);
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        editor->ulozitClick();
        QTRY_VERIFY(!editor);
        QCOMPARE(w.captions().size(), 2); // listed at once, though a box closed last
        QCOMPARE(w.rows(u"SELECT * FROM %1 WHERE id=%2"_s.arg(table, other[0][0])), other);
        QCOMPARE(count(), u"2"_s);
        QVERIFY(w.rows(u"SELECT * FROM %1 WHERE id<>%2"_s.arg(table, other[0][0]))[0]
                    .join(u' ')
                    .contains(u"Zmena"_s));
    }

    // Characters the files cannot hold are named before a save: No goes
    // back to the text and writes nothing, Yes stores them as "?".
    void charactersTheFileCannotHold_data() { kindRows(); }
    void charactersTheFileCannotHold() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        QPointer editor = w.editorOf("novymenu");
        QVERIFY(editor);
        Window::typeFirst(editor, u"Привет – 日本 😀 ł "_s + QChar(0xD800));
        const auto stored = [&] {
            return w.rows(u"SELECT count(*) FROM "_s + w.module().table)[0][0];
        };
        w.t.dialogs.answers = {IDialogs::Answer::No};
        editor->ulozitClick();
        QCOMPARE(w.t.dialogs.boxes.last().text,
                 u"Tieto znaky sa do súboru nedajú uložiť: П р и в е т 日 本 😀 U+D800. Pri "
                 u"uložení ich nahradí otáznik „?“. Chcete uložiť aj tak? (Nie: späť k úprave)"_s);
        QCOMPARE(w.t.dialogs.boxes.last().buttons, IDialogs::Buttons::NoYes);
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(stored(), u"0"_s);
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        editor->ulozitClick();
        QTRY_VERIFY(!editor);
        QCOMPARE(stored(), u"1"_s);
    }

    // Whatever a field holds is stored as it is and changes nothing else:
    // SQL, quotes of both kinds, a column's name, wildcards.
    void hostileTextsAreStoredAsTheyAre_data() { kindRows(); }
    void hostileTextsAreStoredAsTheyAre() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const QStringList texts{u"'); DROP TABLE tables; --"_s, u"\"datum\""_s,
                                u"Ján \"Jano\" O'Neil"_s, u"%_*?[] viditelnost=0"_s};
        for (const QString& text : texts) {
            QPointer editor = w.editorOf("novymenu");
            QVERIFY(editor);
            // A day of its own (the journal keeps one entry a day).
            if (auto* day = editor->findChild<QDateEdit*>(u"datetimepicker"_s))
                day->setDate(day->date().addDays(texts.indexOf(text)));
            const QString column = Window::typeFirst(editor, text);
            editor->ulozitClick();
            QTRY_VERIFY(!editor);
            QCOMPARE(w.rows(u"SELECT count(*) FROM %1 WHERE %2=%3 AND viditelnost=1"_s.arg(
                         w.module().table, column, SqlText(text))),
                     QList<QStringList>{{u"1"_s}});
            w.backToWindow();
        }
        QCOMPARE(w.rows(u"SELECT count(*) FROM tables"_s), QList<QStringList>{{u"1"_s}});
        QCOMPARE(w.rows(u"SELECT count(*) FROM "_s + w.module().table),
                 QList<QStringList>{{QString::number(texts.size())}});
    }

    void theSelectionKeepsItsPlace_data() { kindRows(); }
    void theSelectionKeepsItsPlace() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        for (const char16_t* text : {u"a", u"b", u"c", u"d"})
            w.add(QString::fromUtf16(text));
        w.window()->Aktualizuj();
        QCOMPARE(w.list()->currentIndex().row(), 0);
        // A record deleted in the middle leaves its place to the next one.
        w.list()->setCurrentIndex(w.list()->model()->index(1, 0));
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        w.command("vymazat");
        QCOMPARE(w.list()->currentIndex().data().toString(), w.caption(u"c"_s));
        // Another refresh keeps it.
        w.window()->Aktualizuj();
        QCOMPARE(w.list()->currentIndex().data().toString(), w.caption(u"c"_s));
        // Another group starts at its first record.
        w.window()->createGroup(u"Iná"_s);
        w.add(u"x"_s);
        w.add(u"y"_s);
        w.window()->Aktualizuj();
        QCOMPARE(w.list()->currentIndex().row(), 0);
    }

    void statusLineCountsTheVisible_data() { kindRows(); }
    void statusLineCountsTheVisible() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        for (const char16_t* text : {u"a", u"b", u"c"})
            w.add(QString::fromUtf16(text));
        w.add(u"v koši"_s, 0);
        // Groups in the bin, or emptied from it, are not counted.
        w.execute(u"INSERT INTO tables(nametable,captiontable,viditelnost) "
                  "VALUES('kos','Kôš',0),('prazdna','Prázdna',3),('ina','Iná',1)"_s);
        w.window()->Aktualizuj();
        QCOMPARE(w.status(), w.expectedStatus(3, 3, 2));
    }

    void exportFrame_data() { kindRows("", true); }
    void exportFrame() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        w.add(u"Nákup"_s);
        w.window()->Aktualizuj();
        w.t.dialogs.fileNames = {QDir::current().filePath(u"export"_s)};
        w.command("export");
        QCOMPARE(w.t.dialogs.fileDialogTitles, QStringList{QString::fromUtf16(w.c.exportTitle)});
        QVERIFY(FileBytes(u"export.txt"_s).endsWith("\r\n\r\n"));
        // Cancelled: nothing is written.
        w.command("export");
        QCOMPARE(QDir().entryList({u"*.txt"_s}), QStringList{u"export.txt"_s});
        // A folder that cannot be written: the error box, no file left behind.
        w.t.dialogs.fileNames = {u"missing/folder/out.txt"_s};
        w.command("export");
        QCOMPARE(w.t.dialogs.errors.size(), 1);
        QVERIFY(w.t.dialogs.errors[0].contains(u"missing/folder/out.txt"_s));
        QVERIFY(!QFileInfo::exists(u"missing"_s));
    }

    void activationListsWhatChanged_data() { kindRows(); }
    void activationListsWhatChanged() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        w.add(u"prvá"_s);
        w.add(u"druhá"_s);
        w.window()->Aktualizuj();
        // Nothing changed: the window shows what a refresh would show,
        // without reading the list again.
        w.list()->setCurrentIndex(w.list()->model()->index(1, 0));
        QSignalSpy rebuilt(w.list()->model(), &QAbstractItemModel::modelReset);
        w.throughAnEditor();
        QCOMPARE(w.list()->currentIndex().row(), 1);
        QCOMPARE(w.captions().size(), 2);
        QCOMPARE(rebuilt.size(), 0);
        // A record written by another program is listed at the next activation.
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(w.module().file).constData(), &other), SQLITE_OK);
        w.m_numbers.insert(u"tretia"_s, w.m_added[w.module().table]++);
        const QByteArray insert =
            w.insertStatement(w.module().table, u"tretia"_s, 1, w.m_numbers[u"tretia"_s]).toUtf8();
        QCOMPARE(sqlite3_exec(other, insert.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
        w.throughAnEditor();
        QCOMPARE(w.captions().size(), 3);
        QCOMPARE(w.captions().last(), w.caption(u"tretia"_s));
        QCOMPARE(w.status(), w.expectedStatus(3, 3, 1));
        // So is a group that the view file names now.
        w.window()->createGroup(u"Iná"_s);
        w.writeViewGroup(QString::fromUtf16(w.c.defaultTable), u"Prvá"_s);
        w.throughAnEditor();
        QCOMPARE(w.window()->windowTitle(), QString::fromUtf16(w.c.title) + u" - Prvá"_s);
        QCOMPARE(w.captions().size(), 3);
    }

    void languageChangeRecaptions_data() { kindRows(); }
    void languageChangeRecaptions() {
        QFETCH(QString, kind);
        TempHome home;
        QDir().mkdir(u"languages"_s);
        QFile::copy(u":/shipped/languages/English.lng"_s, u"languages/English.lng"_s);
        Window w(kind);
        w.command("novaskupina");
        auto* dialog = ActiveDialog<Tformskupina>();
        QVERIFY(dialog);
        const auto caption = [&](const char* name) {
            return WithoutMenuKeys(
                w.window()->findChild<QAction*>(QString::fromLatin1(name))->text());
        };
        w.t.context.strings.Nahrajretazce(u"English"_s);
        w.windows.Aplikujjazyk();
        QCOMPARE(caption("novymenu"), u"New record"_s);
        QCOMPARE(caption("novaskupina"), u"New group"_s);
        QCOMPARE(WithoutMenuKeys(w.window()->findChild<QMenu*>(u"skupiny"_s)->title()),
                 u"Groups"_s);
        QCOMPARE(w.window()->windowTitle(),
                 QString::fromUtf16(w.c.englishTitle) + u" - "_s + w.module().caption);
        QCOMPARE(dialog->windowTitle(), u"New group"_s);
        QCOMPARE(WithoutMenuKeys(dialog->findChild<QPushButton*>(u"vytvorit"_s)->text()),
                 u"Create group"_s);
        QCOMPARE(WithoutMenuKeys(dialog->findChild<QPushButton*>(u"zrusit"_s)->text()),
                 u"Cancel"_s);
        QCOMPARE(WithoutMenuKeys(w.main->findChild<QPushButton*>(u"ok"_s)->text()),
                 u"Save changes"_s);
        QCOMPARE(WithoutMenuKeys(w.main->findChild<QAction*>(u"koniecpopup"_s)->text()),
                 w.t.context.strings[Str::Quit]);
        QVERIFY(WithoutMenuKeys(w.main->findChild<QAction*>(u"koniecpopup"_s)->text()) !=
                u"Koniec"_s);
        // And back.
        w.t.context.strings.Nahrajretazce(TLanguageTable::Slovak);
        w.windows.Aplikujjazyk();
        QCOMPARE(caption("novymenu"), u"Nový záznam"_s);
        QCOMPARE(WithoutMenuKeys(dialog->findChild<QPushButton*>(u"vytvorit"_s)->text()),
                 u"Vytvoriť skupinu"_s);
        QCOMPARE(WithoutMenuKeys(w.main->findChild<QAction*>(u"koniecpopup"_s)->text()),
                 u"Koniec"_s);
        dialog->close();
    }

    // ---- groups ----------------------------------------------------------------

    void createAndRenameGroups_data() { kindRows(); }
    void createAndRenameGroups() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const QString title = QString::fromUtf16(w.c.title);
        w.command("novaskupina");
        auto* dialog = ActiveDialog<Tformskupina>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), u"Nová skupina"_s);
        QCOMPARE(WithoutMenuKeys(dialog->findChild<QPushButton*>(u"vytvorit"_s)->text()),
                 u"Vytvoriť skupinu"_s);
        dialog->vytvoritClick(); // empty caption
        QCOMPARE(w.t.dialogs.boxes.last().text,
                 u"Nebol zadaný názov skupiny. Tento údaj je povinný, vyplňte ho!"_s);
        QVERIFY(dialog->isVisible());
        dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->setText(u"Nákupy 2008"_s);
        QTest::keyClick(dialog->findChild<QLineEdit*>(u"skupinavstup"_s), Qt::Key_Return);
        QTRY_VERIFY(!OpenWindow<Tformskupina>());
        QCOMPARE(w.rows(u"SELECT nametable, captiontable, viditelnost FROM tables WHERE id=2"_s),
                 (QList<QStringList>{{u"Nakupy2008"_s, u"Nákupy 2008"_s, u"1"_s}}));
        QCOMPARE(w.rows(u"SELECT sql FROM sqlite_master WHERE name='Nakupy2008'"_s)[0][0],
                 u"CREATE TABLE Nakupy2008"_s + QString::fromUtf16(w.c.groupTable));
        QCOMPARE(w.viewGroup(), (QStringList{u"Nakupy2008"_s, u"Nákupy 2008"_s}));
        w.backToWindow();
        QCOMPARE(w.window()->windowTitle(), title + u" - Nákupy 2008"_s);
        QCOMPARE(w.status(), w.expectedStatus(0, 0, 2));

        w.command("premenovatskupinu");
        dialog = ActiveDialog<Tformskupina>();
        QCOMPARE(dialog->windowTitle(), u"Premenovať skupinu"_s);
        QCOMPARE(dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->text(), u"Nákupy 2008"_s);
        QCOMPARE(WithoutMenuKeys(dialog->findChild<QPushButton*>(u"vytvorit"_s)->text()),
                 u"Zmeniť"_s);
        dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->setText(u"Nákupy \"2009\""_s);
        dialog->vytvoritClick();
        QCOMPARE(w.rows(u"SELECT nametable, captiontable FROM tables WHERE id=2"_s),
                 (QList<QStringList>{{u"Nakupy2008"_s, u"Nákupy \"2009\""_s}}));
        w.backToWindow();
        QCOMPARE(w.window()->windowTitle(), title + u" - Nákupy \"2009\""_s);
    }

    void aPastedCaptionKeepsToOneLine_data() { kindRows(); }
    void aPastedCaptionKeepsToOneLine() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        w.command("novaskupina");
        auto* dialog = ActiveDialog<Tformskupina>();
        auto* caption = dialog->findChild<QLineEdit*>(u"skupinavstup"_s);
        QGuiApplication::clipboard()->setText(u"Line1\nLine2"_s);
        QTest::keySequence(caption, QKeySequence::Paste);
        QCOMPARE(caption->text(), u"Line1 Line2"_s);
        dialog->vytvoritClick();
        QCOMPARE(w.viewGroup(), (QStringList{u"Line1Line2"_s, u"Line1 Line2"_s}));
        QVERIFY(w.t.dialogs.errors.isEmpty());
    }

    void refusedGroupNames_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        const QString letter = u"Názov skupiny musí začínať písmenom a okrem medzier a "
                               "interpunkcie môže obsahovať iba písmená a číslice."_s;
        const auto reserved = [](const QString& name) {
            return u"Názov „%1“ je vyhradený. Zvoľte iný názov."_s.arg(name);
        };
        const auto taken = [](const QString& name) {
            return u"Takýto názov už má skupina „%1“. Zvoľte iný názov."_s.arg(name);
        };
        for (const KindCase& c : kCases) {
            const QString kind = QString::fromUtf16(c.name);
            const auto row = [&](const char* name, const QString& caption, const QString& message) {
                QTest::newRow((kind + u": "_s + QString::fromLatin1(name)).toUtf8().constData())
                    << kind << caption << message;
            };
            row("same table name", QString::fromUtf16(c.sameTable),
                taken(QString::fromUtf16(c.defaultCaption)));
            row("same name, other case", u"práca 2026"_s, taken(u"Práca 2026"_s));
            row("only removed characters", u"( - )"_s, letter);
            row("starts with a digit", u"2027 plány"_s, letter);
            row("keyword", u"Select"_s, reserved(u"Select"_s));
            row("the catalogue", u"Tables"_s, reserved(u"Tables"_s));
            row("not a name", u"a'b[c]"_s, letter);
            row("tab", u"x\tAS\tSELECT\t1"_s, letter);
        }
    }
    void refusedGroupNames() {
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        TempHome home;
        Window w(kind);
        w.window()->createGroup(u"Práca 2026"_s);
        w.window()->chooseGroup(1);
        const QString current = w.module().table;
        const QList<QStringList> schema = w.rows(u"SELECT name FROM sqlite_master"_s);
        w.command("novaskupina");
        auto* dialog = ActiveDialog<Tformskupina>();
        dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->setText(caption);
        dialog->vytvoritClick();
        // Said in the interface language, never as SQL.
        QVERIFY(w.t.dialogs.errors.isEmpty());
        QCOMPARE(w.t.dialogs.boxes.size(), 1);
        QCOMPARE(w.t.dialogs.boxes[0].caption, u"Upozornenie!"_s);
        QCOMPARE(w.t.dialogs.boxes[0].text, message);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->findChild<QLineEdit*>(u"skupinavstup"_s)->text(), caption);
        QCOMPARE(w.rows(u"SELECT name FROM sqlite_master"_s), schema);
        QCOMPARE(w.rows(u"SELECT COUNT(*) FROM tables"_s), QList<QStringList>{{u"2"_s}});
        QCOMPARE(w.module().table, current);
    }

    void captionsOfAnyTextAreKept_data() { kindRows(); }
    void captionsOfAnyTextAreKept() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        for (const char16_t* caption : {u"Práca \"doma\"", u"§Veci!", u"id"}) {
            w.window()->createGroup(QString::fromUtf16(caption));
            QCOMPARE(w.module().caption, QString::fromUtf16(caption));
        }
        QCOMPARE(w.rows(u"SELECT nametable, captiontable FROM tables WHERE id>1 ORDER BY id"_s),
                 (QList<QStringList>{{u"Pracadoma"_s, u"Práca \"doma\""_s},
                                     {u"Veci"_s, u"§Veci!"_s},
                                     {u"id"_s, u"id"_s}}));
    }

    void switchGroups_data() { kindRows(); }
    void switchGroups() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const QString first = w.module().table;
        const QString firstCaption = w.module().caption;
        w.window()->createGroup(u"Dva"_s);
        w.window()->createGroup(u"Tri"_s);
        w.t.sound.played.clear();
        w.command("prepnut"); // from group 3 to group 1
        QCOMPARE(w.module().table, first);
        QCOMPARE(w.t.sound.played, QStringList{u"sounds/beep.wav x1"_s});
        QCOMPARE(w.window()->windowTitle(),
                 QString::fromUtf16(w.c.title) + u" - "_s + firstCaption);
        w.execute(u"UPDATE tables SET viditelnost=0 WHERE id=2"_s);
        w.command("prepnut"); // group 2 binned: from 1 to 3
        QCOMPARE(w.module().table, u"Tri"_s);
        w.execute(u"UPDATE tables SET viditelnost=3 WHERE id=1"_s);
        w.t.sound.played.clear();
        w.command("prepnut"); // the only visible group: no change, no beep
        QCOMPARE(w.module().table, u"Tri"_s);
        QVERIFY(w.t.sound.played.isEmpty());
        // No visible group at all: one pass, and the window goes on.
        w.execute(u"UPDATE tables SET viditelnost=0 WHERE id=3"_s);
        w.command("prepnut");
        QCOMPARE(w.module().table, u"Tri"_s);
        QCOMPARE(w.status(), u"Počet záznamov: 0 Počet skupín: 0"_s);
        QVERIFY(w.t.dialogs.errors.isEmpty());
    }

    void switchedGroupGivesWayToTheStoredOne_data() { kindRows(); }
    void switchedGroupGivesWayToTheStoredOne() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const QString title = QString::fromUtf16(w.c.title);
        const QString firstCaption = w.module().caption;
        w.window()->createGroup(u"Dva"_s);
        w.window()->chooseGroup(1); // stored: the default group
        w.command("prepnut");
        QCOMPARE(w.window()->windowTitle(), title + u" - Dva"_s);
        w.throughAnEditor();
        QCOMPARE(w.window()->windowTitle(), title + u" - "_s + firstCaption);
    }

    void binAndRestoreGroups_data() { kindRows(); }
    void binAndRestoreGroups() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const QString title = QString::fromUtf16(w.c.title);
        const QString firstCaption = w.module().caption;
        w.window()->createGroup(u"Dva"_s);
        w.add(u"záznam v Dva"_s);
        w.t.dialogs.answers = {IDialogs::Answer::No};
        w.command("vymazatskupinu");
        QCOMPARE(w.t.dialogs.boxes.last().caption, u"Potvrdenie odstránenia skupiny"_s);
        QCOMPARE(w.t.dialogs.boxes.last().text, u"Naozaj chcete odstrániť skupinu Dva?"_s);
        QCOMPARE(w.rows(u"SELECT viditelnost FROM tables WHERE id=2"_s),
                 QList<QStringList>{{u"1"_s}});
        w.t.dialogs.answers = {IDialogs::Answer::Yes};
        w.command("vymazatskupinu");
        QCOMPARE(w.rows(u"SELECT viditelnost FROM tables WHERE id=2"_s),
                 QList<QStringList>{{u"0"_s}});
        QCOMPARE(w.window()->windowTitle(), title + u" - "_s + firstCaption);
        w.command("obnovitskupiny");
        QCOMPARE(w.rows(u"SELECT viditelnost FROM tables WHERE id=2"_s),
                 QList<QStringList>{{u"1"_s}});
        w.window()->chooseGroup(2);
        w.window()->Aktualizuj();
        QCOMPARE(w.captions(), QStringList{w.caption(u"záznam v Dva"_s)});
    }

    void chooser_data() { kindRows(); }
    void chooser() {
        QFETCH(QString, kind);
        TempHome home;
        Window w(kind);
        const QString first = w.module().table;
        const QString firstCaption = w.module().caption;
        w.window()->createGroup(u"Dva"_s);
        w.window()->createGroup(u"Tri"_s);
        w.execute(u"UPDATE tables SET viditelnost=0 WHERE id=2"_s);
        w.t.sound.played.clear();
        w.command("zobrazitskupiny");
        auto* chooser = ActiveDialog<Tformskupiny>();
        QVERIFY(chooser);
        QCOMPARE(chooser->windowTitle(), u"Vyberte skupinu"_s);
        auto* list = chooser->findChild<QTreeView*>(u"zoznam"_s);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->model()->index(0, 0).data().toString(), firstCaption);
        QCOMPARE(list->model()->index(1, 0).data().toString(), u"Tri"_s);
        list->setCurrentIndex(list->model()->index(0, 0));
        chooser->okClick();
        QTRY_VERIFY(!OpenWindow<Tformskupiny>());
        QCOMPARE(w.t.sound.played, QStringList{u"sounds/beep.wav x1"_s});
        QCOMPARE(w.viewGroup().first(), first);

        // With every group in the bin the list is empty and OK does nothing.
        w.execute(u"UPDATE tables SET viditelnost=0"_s);
        w.command("zobrazitskupiny");
        chooser = ActiveDialog<Tformskupiny>();
        QCOMPARE(chooser->findChild<QTreeView*>(u"zoznam"_s)->model()->rowCount(), 0);
        chooser->okClick();
        QVERIFY(chooser->isVisible());
        chooser->close();
    }
};

VELMORAND_TEST_MAIN(TestRecords)
#include "tst_records.moc"
