// The Jazyky menu: every window in the chosen language and back, the
// default groups renamed in the files and the view files, Qt's own texts,
// files that cannot be loaded, the generated file, and the Program menu.
#include "context/menukeys.h"
#include "context/programcontext.h"
#include "diary/formdiar.h"
#include "notes/formzaznampoznamky.h"
#include "platform/trayicon.h"
#include "records/groupedwindow.h"
#include "records/recordwindow.h"
#include "shell/formvelmorand.h"
#include "shell/reminders.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "storage/text1250.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QDir>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTreeView>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList kFiles{u"data/Notes.dbf"_s, u"data/Reminders.dbf"_s, u"data/Addressbook.dbf"_s,
                         u"data/Diary.dbf"_s};
const QStringList kViews{u"data/Notes.ini"_s, u"data/Reminders.ini"_s, u"data/Addressbook.ini"_s,
                         u"data/Diary.ini"_s};

struct Program {
    Program() {
        QDir().mkpath(u"languages"_s);
        QFile::copy(u":/shipped/languages/English.lng"_s, u"languages/English.lng"_s);
        if (!QFile::exists(TSettings::FileName))
            LineFile::write(TSettings::FileName, SettingsLines(TSettings()));
        if (!p.start())
            qFatal("the program did not start");
    }
    // Chooses a language from the main window's Jazyky menu.
    void choose(const QString& name) {
        p.t.dialogs.boxes.clear();
        p.t.dialogs.errors.clear();
        auto* menu = p.main->findChild<QMenu*>(u"Jazyky"_s);
        for (QAction* action : menu->actions())
            if (action->objectName() == name ||
                (name == u"Slovak" && action->objectName() == u"slovak"))
                return action->trigger();
        QFAIL(qPrintable(u"no language item "_s + name));
    }
    void item(const char* name) {
        p.t.dialogs.boxes.clear();
        p.main->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    QString text(const char* window, const char* name) const {
        QWidget* w = p.main;
        if (QString::fromLatin1(window) != u"velmorand")
            w = p.record(QString::fromLatin1(window));
        QObject* found = w->findChild<QObject*>(QString::fromLatin1(name));
        if (auto* action = qobject_cast<QAction*>(found))
            return WithoutMenuKeys(action->text());
        if (auto* menu = qobject_cast<QMenu*>(found))
            return WithoutMenuKeys(menu->title());
        if (auto* button = qobject_cast<QAbstractButton*>(found))
            return WithoutMenuKeys(button->text());
        return u"(none)"_s;
    }
    // What the user sees in each language: window titles, menus, the tray,
    // an open editor, the default groups in the files and the views.
    QStringList everything() const {
        QStringList seen;
        for (const char* window : {"poznamky", "diar", "adresar", "dennik", "narodky"}) {
            TRecordWindow* w = p.record(QString::fromLatin1(window));
            static_cast<TListWindow*>(w)->FormActivate();
            seen.append(w->windowTitle());
        }
        seen << text("poznamky", "poznamkymenu") << text("poznamky", "novymenu")
             << text("diar", "zobrazit") << text("adresar", "inport")
             << text("adresar", "podlagadugadu") << text("dennik", "vymazatskupinu")
             << text("narodky", "ok") << text("velmorand", "kos") << text("velmorand", "Jazyky")
             << text("velmorand", "autorun");
        for (QAction* action : p.main->trayMenu()->actions())
            seen.append(WithoutMenuKeys(action->text()));
        for (const QString& file : kFiles)
            seen.append(
                DbRows(file, u"SELECT captiontable FROM tables ORDER BY id"_s).value(0).join(u','));
        for (const QString& view : kViews)
            seen.append(LineFile::split(FileBytes(view)).join(u'|'));
        return seen;
    }
    TestProgram p;
};

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void toEnglishAndBack() {
        TempHome home;
        Program a;
        // A group of the user's keeps its caption; an open editor follows.
        static_cast<TGroupedWindow*>(a.p.record(u"poznamky"_s))->createGroup(u"Práca"_s);
        static_cast<TGroupedWindow*>(a.p.record(u"poznamky"_s))->chooseGroup(1);
        a.p.record(u"poznamky"_s)->findChild<QAction*>(u"novymenu"_s)->trigger();
        QWidget* editor = OpenWindow<Tformzaznampoznamky>();
        QVERIFY(editor);
        const QStringList slovak = a.everything();

        a.choose(u"English"_s);
        QVERIFY(a.p.t.dialogs.errors.isEmpty());
        QCOMPARE(a.p.t.dialogs.boxes.size(), 1);
        QCOMPARE(a.p.t.dialogs.boxes[0].caption, u"Operation successful"_s);
        QCOMPARE(a.p.t.dialogs.boxes[0].text, u"The language was changed"_s);
        const QStringList english = a.everything();
        QCOMPARE(english.mid(0, 5), (QStringList{u"Notes - My notes"_s, u"Diary - My diary"_s,
                                                 u"Address book - My contacts"_s,
                                                 u"Journal - My journal"_s, u"Birthdays"_s}));
        QCOMPARE(english.mid(5, 10),
                 (QStringList{u"Notes"_s, u"New record"_s, u"Show"_s, u"Import"_s, u"GaduGadu"_s,
                              u"Delete group"_s, u" Add"_s, u"Empty the bin"_s, u"Language"_s,
                              u"Start Velmorand at login"_s}));
        QCOMPARE(english.mid(15, 4),
                 (QStringList{u"Switch the alarm off"_s, u"Show the program window"_s,
                              u"Search everywhere"_s, u"Exit"_s}));
        QCOMPARE(english.mid(19, 4),
                 (QStringList{u"My notes"_s, u"My diary"_s, u"My contacts"_s, u"My journal"_s}));
        QCOMPARE(DbRows(kFiles[0], u"SELECT captiontable FROM tables WHERE id=2"_s),
                 QList<QStringList>{{u"Práca"_s}});
        QVERIFY2(english[23].startsWith(u"mojepoznamky|My notes|"_s), qPrintable(english[23]));
        QVERIFY2(english[25].contains(u"|mojekontakty|My contacts|"_s), qPrintable(english[25]));
        QCOMPARE(WithoutMenuKeys(editor->findChild<QPushButton*>(u"ulozit"_s)->text()),
                 a.p.t.context.strings[Str::Save]);
        QCOMPARE(a.p.t.context.settings.language, u"English"_s);
        // Qt's own texts in English too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), u"&Yes"_s);
        QCOMPARE(a.p.main->findChild<QKeySequenceEdit*>(u"HotKey1"_s)
                     ->findChild<QLineEdit*>()
                     ->placeholderText(),
                 u"Press shortcut"_s);

        a.choose(u"Slovak"_s);
        QCOMPARE(a.p.t.dialogs.boxes[0].caption, u"Operácia úspešná"_s);
        const QStringList back = a.everything();
        QCOMPARE(back.mid(0, 23), slovak.mid(0, 23));
        QVERIFY2(back[23].startsWith(u"mojepoznamky|Moje poznámky|"_s), qPrintable(back[23]));
        QVERIFY2(back[25].contains(u"|mojekontakty|Moje kontakty|"_s), qPrintable(back[25]));
        QCOMPARE(WithoutMenuKeys(editor->findChild<QPushButton*>(u"ulozit"_s)->text()),
                 a.p.t.context.strings[Str::Save]);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), u"&Áno"_s);
        QCOMPARE(a.p.main->findChild<QKeySequenceEdit*>(u"HotKey1"_s)
                     ->findChild<QLineEdit*>()
                     ->placeholderText(),
                 u"Stlačte klávesovú skratku"_s);
    }

    // The language chosen holds through a visit of the settings page (which
    // shows the file again) to the quit and the next start; the address
    // book's list header follows it.
    // Every menu title, item and button has an Alt+letter key of its own
    // within its menu bar and window, or its menu, in each language: every
    // window, its menus, the editors and the group dialogs walked through.
    void everyCaptionHasItsOwnKey_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("Slovak") << u"Slovak"_s;
        QTest::newRow("English") << u"English"_s;
    }
    void everyCaptionHasItsOwnKey() {
        QFETCH(QString, language);
        TempHome home;
        Program a;
        if (language != u"Slovak")
            a.choose(language);
        QStringList faults;
        // The keys of one window or menu: each caption's marked letter.
        const auto check = [&faults](const QString& where, const QStringList& captions) {
            QSet<QChar> keys;
            for (const QString& caption : captions) {
                const qsizetype mark = caption.indexOf(QRegularExpression(u"&[^&]"_s));
                if (mark < 0)
                    faults.append(where + u": no key in "_s + caption);
                else if (const QChar key = caption[mark + 1].toLower(); keys.contains(key))
                    faults.append(where + u": "_s + key + u" twice, in "_s + caption);
                else
                    keys.insert(key);
            }
        };
        const auto walk = [&](QWidget* window) {
            QVERIFY(WaitForFocus(window) || window->isVisible());
            QCoreApplication::processEvents();
            const QString name = window->objectName();
            QStringList captions;
            if (auto* main = qobject_cast<QMainWindow*>(window))
                for (QAction* title : main->menuBar()->actions())
                    captions.append(title->text());
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
                if (button->isVisibleTo(window) && !button->text().isEmpty() &&
                    !button->inherits("QToolButton"))
                    captions.append(button->text());
            for (QLabel* label : window->findChildren<QLabel*>())
                if (label->buddy() && label->isVisibleTo(window))
                    captions.append(label->text());
            check(name, captions);
            for (QMenu* menu : window->findChildren<QMenu*>()) {
                menu->popup(QPoint());
                QStringList items;
                for (QAction* item : menu->actions())
                    if (!item->isSeparator() && item->isVisible())
                        items.append(item->text());
                check(name + u'/' + menu->objectName(), items);
                menu->hide();
            }
        };
        walk(a.p.main);
        for (const char* kind : {"poznamky", "diar", "adresar", "dennik", "narodky"}) {
            TRecordWindow* w = a.p.record(QString::fromLatin1(kind));
            w->showActive();
            walk(w);
            for (const char* dialog : {"novymenu", "novaskupina", "premenovatskupinu",
                                       "zobrazitskupiny", "moznostiadrmenu"}) {
                auto* command = w->findChild<QAction*>(QString::fromLatin1(dialog));
                if (!command)
                    continue;
                const QWidgetList before = QApplication::topLevelWidgets();
                command->trigger();
                const auto opened = [&before] {
                    for (QWidget* window : QApplication::topLevelWidgets())
                        if (window->isVisible() && !before.contains(window))
                            return window;
                    return static_cast<QWidget*>(nullptr);
                };
                QTRY_VERIFY(opened());
                walk(opened());
                opened()->close();
                a.p.t.dialogs.answers = {IDialogs::Answer::Yes};
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void theChoiceHoldsToTheNextStart() {
        TempHome home;
        const auto header = [](const Program& a) {
            return a.p.record(u"adresar"_s)
                ->findChild<QTreeView*>(u"zoznam"_s)
                ->model()
                ->headerData(0, Qt::Horizontal)
                .toString();
        };
        {
            Program a;
            QCOMPARE(header(a), u"Moje kontakty"_s);
            a.choose(u"English"_s);
            QCOMPARE(header(a), u"My contacts"_s);
            TRecordWindow* diary = a.p.record(u"diar"_s);
            a.p.windows.ShowWindowNamed(u"diar"_s);
            QVERIFY(QTest::qWaitForWindowActive(diary));
            QTest::keyClick(diary, Qt::Key_F12);
            QVERIFY(QTest::qWaitForWindowActive(a.p.main));
            a.p.main->endProgram();
        }
        QVERIFY(FileBytes(TSettings::FileName).endsWith("\r\nEnglish\r\n"));
        Program again;
        QCOMPARE(again.p.t.context.strings[Str::MyNotes], u"My notes"_s);
        QCOMPARE(header(again), u"My contacts"_s);
    }

    // Day and month names follow the interface language, not the system's
    // locale (here C, as under LANG=C): the tray tip, the diary's list
    // and its date picker, in Slovak and then in English.
    void datesFollowTheLanguageNotTheSystem() {
        TempHome home;
        QLocale::setDefault(QLocale::c());
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::Slovak)); });
        Program a;
        TSQLiteDatabase(kFiles[1]).Execute(
            u"INSERT INTO mojdiar(datum,avizo,alarm,predmet,obsah,viditelnost) "
            u"VALUES('2026-12-08','2026-12-08 12:00:00','1','obed','',1)"_s);
        a.p.windows.reminders().Najdizaznam();
        auto* diary = static_cast<Tformdiar*>(a.p.record(u"diar"_s));
        diary->Aktualizujvsetko();
        const auto picker = [&] {
            return diary->findChild<QDateEdit*>(u"datetimepicker"_s)->text();
        };
        QCOMPARE(a.p.t.tray->tip, u"Pripomienka: 08 december 2026 12:00"_s);
        QVERIFY2(ListCaptions(diary).value(0).startsWith(u"utorok 8 december 2026"_s),
                 qPrintable(ListCaptions(diary).value(0)));
        QVERIFY2(picker().contains(u"decembra"_s), qPrintable(picker()));
        a.choose(u"English"_s);
        diary->Aktualizujvsetko();
        // The all view has made the date pattern the long one.
        QCOMPARE(a.p.t.tray->tip, u"Reminder: Tuesday 8 December 2026 12:00"_s);
        QVERIFY2(ListCaptions(diary).value(0).startsWith(u"Tuesday 8 December 2026"_s),
                 qPrintable(ListCaptions(diary).value(0)));
        QVERIFY2(picker().contains(u"December"_s), qPrintable(picker()));
    }

    // A file that cannot be loaded changes nothing: the box, and the
    // language before in the windows, the files and the settings.
    void aFileThatCannotBeLoaded_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("gone since the menu was made") << u"Gone"_s;
        QTest::newRow("not text") << u"Binary"_s;
    }
    void aFileThatCannotBeLoaded() {
        QFETCH(QString, name);
        TempHome home;
        QDir().mkpath(u"languages"_s);
        WriteFileBytes(u"languages/Gone.lng"_s, "Notes\r\n");
        WriteFileBytes(u"languages/Binary.lng"_s, QByteArray("Notes\r\nMy\0notes\r\n", 17));
        Program a;
        a.choose(u"English"_s);
        const QStringList english = a.everything();
        QList<QByteArray> before;
        for (const QString& file : kFiles + kViews)
            before.append(FileBytes(file));
        QFile::remove(u"languages/Gone.lng"_s);
        a.choose(name);
        QCOMPARE(a.p.t.dialogs.errors.size(), 1);
        QVERIFY(a.p.t.dialogs.boxes.isEmpty());
        QCOMPARE(a.everything(), english);
        QCOMPARE(a.p.t.context.settings.language, u"English"_s);
        for (int i = 0; i < before.size(); ++i)
            QVERIFY2(FileBytes((kFiles + kViews)[i]) == before[i],
                     qPrintable((kFiles + kViews)[i]));
    }

    // A 100-line file whose name holds "&", or a letter the settings file's
    // code page lacks (stored as "?"): the menu shows the name, the file's
    // texts come, the missing ones of the original's are empty and the
    // program's own are the built-in ones; the choice holds at the next start.
    void aShortFileWithAnUnusualName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("an ampersand")
            << u"Tom&Jerry"_s << u"Tom&Jerry"_s << QByteArray("Tom&Jerry");
        QTest::newRow("outside Windows-1250")
            << u"Español"_s << u"Español"_s << QByteArray("Espa?ol");
    }
    void aShortFileWithAnUnusualName() {
        QFETCH(QString, name);
        QFETCH(QString, item);
        QFETCH(QByteArray, stored);
        TempHome home;
        QByteArray lines;
        for (int i = 0; i < 100; ++i)
            lines += "Text " + QByteArray::number(i) + "\r\n";
        QDir().mkpath(u"languages"_s);
        WriteFileBytes(u"languages/"_s + name + u".lng"_s, lines);
        {
            Program a;
            QAction* action = a.p.main->findChild<QAction*>(name);
            QVERIFY(action);
            QCOMPARE(WithoutMenuKeys(action->text()), item);
            a.choose(name);
            const TLanguageTable& s = a.p.t.context.strings;
            QCOMPARE(s.at(99), u"Text 99"_s);
            QCOMPARE(s.at(100), QString());
            QCOMPARE(s[Str::OperationStopped], u"Operácia sa zastavila"_s);
            QCOMPARE(a.p.record(u"poznamky"_s)->windowTitle(), u"Text 1 - Text 2"_s);
            a.p.main->Ulozini();
        }
        QCOMPARE(FileBytes(TSettings::FileName).split('\n').value(8).trimmed(), stored);
        Program again;
        QCOMPARE(again.p.t.context.strings.at(2), u"Text 2"_s);
    }

    // A generated file loads back to the table it was written from.
    void aGeneratedFileLoadsBack() {
        TempHome home;
        Program a;
        a.choose(u"English"_s);
        a.p.t.dialogs.fileNames = {QDir::current().filePath(u"strings"_s)};
        a.item("generovat");
        QCOMPARE(a.p.t.dialogs.fileDialogTitles.last(), u"Save language strings"_s);
        QFile::copy(u"strings.txt"_s, u"languages/Back.lng"_s);
        QCOMPARE(LineFile::read(u"strings.txt"_s).size(), TLanguageTable::Total);
        TLanguageTable back;
        back.Nahrajretazce(u"Back"_s);
        QCOMPARE(back.strings(), a.p.t.context.strings.strings());
    }

    void theProgramMenu_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("failure");
        QTest::newRow("help, Slovak")
            << u"Slovak"_s << QByteArray("pomoc") << u"help/velmorand-sk.txt"_s
            << u"Pre súbor %1 sa nenašiel program, ktorý ho otvorí."_s;
        QTest::newRow("help, English")
            << u"English"_s << QByteArray("pomoc") << u"help/velmorand-en.txt"_s
            << u"No program was found to open the file %1."_s;
        QTest::newRow("mail") << u"Slovak"_s << QByteArray("mailaut")
                              << u"mailto:velmorand@example.org?subject=Pripomienka%20k%20"
                                 u"Velmorand%202.1&body="_s
                              << u"Pre adresu velmorand@example.org sa nenašiel poštový program. "
                                 u"Nastavte v systéme predvolený poštový program."_s;
        QTest::newRow("web") << u"English"_s << QByteArray("wwwaut")
                             << u"https://velmorand.example.org/"_s
                             << u"No web browser was found for the address "
                                u"https://velmorand.example.org/. Set a default web browser in "
                                u"the system."_s;
    }
    void theProgramMenu() {
        QFETCH(QString, language);
        QFETCH(QByteArray, item);
        QFETCH(QString, link);
        QFETCH(QString, failure);
        TempHome home;
        Program a;
        if (language != u"Slovak")
            a.choose(language);
        a.item(item.constData());
        QCOMPARE(a.p.t.links.opened.size(), 1);
        const QString opened = a.p.t.links.opened.last();
        if (item == "pomoc") {
            const QString path = QDir::current().absoluteFilePath(link);
            QCOMPARE(opened, QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
            QFile shipped(u":/help/"_s + QFileInfo(path).fileName());
            QVERIFY(shipped.open(QIODevice::ReadOnly));
            QCOMPARE(FileBytes(path), shipped.readAll());
            failure = failure.arg(path);
        } else {
            QCOMPARE(opened, link);
        }
        QVERIFY(a.p.t.dialogs.boxes.isEmpty());
        // Nothing on the desktop takes it: the box says so.
        a.p.t.links.canOpen = false;
        a.item(item.constData());
        QCOMPARE(a.p.t.dialogs.boxes.size(), 1);
        QCOMPARE(a.p.t.dialogs.boxes[0].text, failure);
    }

    void theAboutBox_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("lines");
        QTest::newRow("Slovak") << u"Slovak"_s << 3;
        QTest::newRow("English") << u"English"_s << 4;
    }
    void theAboutBox() {
        QFETCH(QString, language);
        QFETCH(int, lines);
        TempHome home;
        Program a;
        if (language != u"Slovak")
            a.choose(language);
        a.item("about");
        QCOMPARE(a.p.t.dialogs.boxes.size(), 1);
        QCOMPARE(a.p.t.dialogs.boxes[0].caption, a.p.t.context.strings[Str::About]);
        QCOMPARE(a.p.t.dialogs.boxes[0].text.split(u"\r\n"_s).size(), lines);
    }
};

VELMORAND_TEST_MAIN(TestLanguage)
#include "tst_language.moc"
