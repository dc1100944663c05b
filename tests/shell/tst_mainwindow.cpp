// The main window: start-up, settings page, hide and show, keys, shutdown.
#include "context/menukeys.h"
#include "context/ownsettings.h"
#include "platform/qtdialogs.h"
#include "platform/trayicon.h"
#include "records/recordeditor.h"
#include "records/recordwindow.h"
#include "shell/formvelmorand.h"
#include "testsupport.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QKeySequenceEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kDefaultFile =
    "2.0\r\npoznamky\r\nReminderwindows: 1\r\nAutoupdate: 1\r\nAnounce: 1\r\n"
    "Hide: 0\r\nCtrl+Shift+H\r\nCtrl+Shift+O\r\nSlovak\r\n";

template <typename T> T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

QAction* trayItem(Tformvelmorand* main, const char* name) {
    return main->findChild<QAction*>(QString::fromLatin1(name));
}

void press(QWidget* window, QKeyCombination keys) {
    QTest::keyClick(window, keys.key(), keys.keyboardModifiers());
}

// The way a user reaches the settings page: F12 in the notes window.
bool toSettingsPage(TestProgram& p) {
    TRecordWindow* notes = p.record(u"poznamky"_s);
    p.windows.ShowWindowNamed(u"poznamky"_s);
    if (!QTest::qWaitForWindowActive(notes))
        return false;
    press(notes, QKeyCombination(Qt::Key_F12));
    return QTest::qWaitForWindowActive(p.main);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void firstStart() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        QCOMPARE(p.main->windowTitle(), u"Velmorand " PROJECT_VERSION_TEXT ""_s);
        QCOMPARE(p.t.hotKeys.registered.value(1),
                 QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_H));
        QCOMPARE(p.t.hotKeys.registered.value(2),
                 QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O));
        QCOMPARE(child<QKeySequenceEdit>(p.main, "HotKey1")->keySequence(),
                 QKeySequence(u"Ctrl+Shift+H"_s));
        QCOMPARE(p.t.tray->calls, (QStringList{u"menu"_s, u"add Ikona"_s,
                                               u"modify 4 Žiadna pripomienka v diári"_s}));
        QCOMPARE(p.t.context.settings.mode, 1);
        QVERIFY(!child<QCheckBox>(p.main, "autorun")->isChecked());
        QVERIFY(!child<QCheckBox>(p.main, "skrytokno")->isChecked());
        QCOMPARE(WithoutMenuKeys(child<QPushButton>(p.main, "ok")->text()), u"Uložiť zmeny"_s);
        QVERIFY(QFile::exists(u"data/Notes.dbf"_s));
        // Activating the main window brings up the last record window.
        QTRY_COMPARE(p.visibleWindows(), (QStringList{u"velmorand"_s, u"poznamky"_s}));
        QVERIFY(!trayItem(p.main, "zobrazitoknopopup")->isVisible());
        QVERIFY(!trayItem(p.main, "vypnialarmpopup")->isVisible());
        QVERIFY(trayItem(p.main, "koniecpopup")->isVisible());
        // The notes window welcomes the user once: the settings file is written right after.
        QCOMPARE(p.t.dialogs.boxes.size(), 1);
        QCOMPARE(p.t.dialogs.boxes[0].caption, u"Vitajte v programe Velmorand"_s);
        QCOMPARE(
            p.t.dialogs.boxes[0].text,
            u"Pre Poznámky stlačte F1\nPre Diár stlačte F2\nPre Adresár stlačte F3\n"
            "Pre Denník stlačte F4\nPre Narodeniny stlačte F5\nPre viac nastavení stlačte F12"_s);
        QCOMPARE(FileBytes(u"Velmorand.ini"_s), kDefaultFile);
        p.windows.ShowWindowNamed(u"diar"_s);
        p.windows.ShowWindowNamed(u"poznamky"_s);
        QTRY_VERIFY(p.record(u"poznamky"_s)->isActiveWindow());
        QCOMPARE(p.t.dialogs.boxes.size(), 1);
    }

    void neverStartsOnTheSettingsPage() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s,
                       QByteArray(kDefaultFile).replace("poznamky", "velmorand"));
        TestProgram p;
        QVERIFY(p.start());
        QCOMPARE(p.t.context.settings.lastWindow, u"poznamky"_s);
        QTRY_VERIFY(p.record(u"poznamky"_s)->isVisible());
    }

    void modeSevenKeepsTheStartMode() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s,
                       QByteArray(kDefaultFile).replace("Anounce: 1", "Anounce: 7"));
        TestProgram p;
        QVERIFY(p.start());
        QCOMPARE(p.t.context.settings.mode, 0);
        QVERIFY(child<QRadioButton>(p.main, "RadioItem1")->isChecked());
    }

    void unreadableSettingsFileIsKept_data() {
        QTest::addColumn<bool>("folder"); // else a link that leads nowhere but to itself
        QTest::newRow("a folder") << true;
        QTest::newRow("a looping link") << false;
    }
    void unreadableSettingsFileIsKept() {
        QFETCH(bool, folder);
        TempHome home;
        if (folder)
            QDir().mkdir(u"Velmorand.ini"_s);
        else
            QVERIFY(QFile::link(u"Velmorand.ini"_s, u"Velmorand.ini"_s));
        TestProgram p;
        QVERIFY(p.start());
        QCOMPARE(
            p.t.dialogs.errors,
            QStringList{u"Nastavenia zo súboru Velmorand.ini sa nedajú prečítať. Program beží s "
                        "predvolenými nastaveniami a súbor nechá tak, ako je."_s});
        QCOMPARE(p.t.context.settings.mode, 1);
        QVERIFY(p.t.dialogs.boxes.isEmpty()); // no welcome: the file is there
        // Said once, also when the settings page reads it again.
        QVERIFY(toSettingsPage(p));
        p.main->endProgram();
        QCOMPARE(p.t.dialogs.errors.size(), 1);
        QCOMPARE(QFileInfo(u"Velmorand.ini"_s).isDir(), folder);
        QCOMPARE(QFileInfo(u"Velmorand.ini"_s).isSymLink(), !folder);
    }

    void reReadDiscardsUnsavedHotKeys() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(toSettingsPage(p));
        child<QKeySequenceEdit>(p.main, "HotKey2")->setKeySequence(QKeySequence(u"Alt+F9"_s));
        // Away and back without OK: the page is read again.
        press(p.main, QKeyCombination(Qt::Key_F1));
        QVERIFY(toSettingsPage(p));
        QCOMPARE(child<QKeySequenceEdit>(p.main, "HotKey2")->keySequence(),
                 QKeySequence(u"Ctrl+Shift+O"_s));
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QVERIFY(FileBytes(u"Velmorand.ini"_s).contains("\r\nShift+Ctrl+O\r\n"));
        QCOMPARE(p.t.hotKeys.registered.value(2),
                 QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O));
    }

    // An emptied hot-key field is never applied without a word: No keeps
    // the hot key, Yes gives it up.
    void anEmptiedHotKeyFieldIsAsked_data() {
        QTest::addColumn<IDialogs::Answer>("answer");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("kept") << IDialogs::Answer::No << QByteArray("\r\nCtrl+Shift+H\r\n");
        QTest::newRow("given up") << IDialogs::Answer::Yes << QByteArray("\r\n\r\n");
    }
    void anEmptiedHotKeyFieldIsAsked() {
        QFETCH(IDialogs::Answer, answer);
        QFETCH(QByteArray, line);
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(toSettingsPage(p));
        child<QKeySequenceEdit>(p.main, "HotKey1")->clear();
        p.t.dialogs.answers = {answer};
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QVERIFY(p.t.dialogs.boxes.first().text.startsWith(
            u"Pole „Zadajte klávesovú skratku pre vypnutie alarmu“ je prázdne"_s));
        QVERIFY(FileBytes(u"Velmorand.ini"_s).contains("Hide: 0" + line));
        QCOMPARE(p.t.hotKeys.registered.contains(1), answer == IDialogs::Answer::No);
    }

    void unreadableHotKeyLineIsKept() {
        TempHome home;
        const QByteArray file = QByteArray(kDefaultFile).replace("Ctrl+Shift+H", "Ctrl+Nonsense");
        WriteFileBytes(u"Velmorand.ini"_s, file);
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(!p.t.hotKeys.registered.contains(1));
        QVERIFY(child<QKeySequenceEdit>(p.main, "HotKey1")->keySequence().isEmpty());
        // OK with the edit left empty keeps the line; so does closing.
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QVERIFY(FileBytes(u"Velmorand.ini"_s).contains("\r\nCtrl+Nonsense\r\n"));
        QVERIFY(!p.t.hotKeys.registered.contains(1));
        p.main->endProgram();
        QCOMPARE(FileBytes(u"Velmorand.ini"_s),
                 QByteArray(file).replace("Ctrl+Shift+O", "Shift+Ctrl+O"));
    }

    void anotherHomesAutostartEntryIsKept_data() {
        QTest::addColumn<QByteArray>("settings"); // empty: none
        QTest::newRow("first start") << QByteArray();
        QTest::newRow("damaged settings") << QByteArray("1.0\r\n");
    }
    void anotherHomesAutostartEntryIsKept() {
        QFETCH(QByteArray, settings);
        TempHome home;
        if (!settings.isEmpty())
            WriteFileBytes(u"Velmorand.ini"_s, settings);
        const TAutostart other(u"/usr/bin/velmorand"_s, home.file(u"other"_s));
        other.add();
        const QByteArray entry = FileBytes(other.entryPath());
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(!child<QCheckBox>(p.main, "autorun")->isChecked());
        QCOMPARE(FileBytes(other.entryPath()), entry);
        // OK with the box clear leaves the other home's entry too.
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QCOMPARE(FileBytes(other.entryPath()), entry);
        // Ticked, this home takes the entry over.
        child<QCheckBox>(p.main, "autorun")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QVERIFY(p.t.context.autostart.isSet());
        QVERIFY(!other.isSet());
        QFile::remove(other.entryPath());
    }

    void storedLanguage_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("okCaption");
        QTest::newRow("English") << u"English"_s << u"English"_s << u"Save changes"_s;
        QTest::newRow("menu accelerator") << u"&English"_s << u"&English"_s << u"Save changes"_s;
        QTest::newRow("missing file") << u"Deutsch"_s << u"Slovak"_s << u"Uložiť zmeny"_s;
    }
    void storedLanguage() {
        QFETCH(QString, stored);
        QFETCH(QString, language);
        QFETCH(QString, okCaption);
        TempHome home;
        QDir().mkdir(u"languages"_s);
        QFile::copy(u":/shipped/languages/English.lng"_s, u"languages/English.lng"_s);
        WriteFileBytes(u"Velmorand.ini"_s,
                       QByteArray(kDefaultFile).replace("Slovak", stored.toUtf8()));
        TestProgram p;
        QVERIFY(p.start());
        QCOMPARE(p.t.context.settings.language, language);
        QCOMPARE(WithoutMenuKeys(child<QPushButton>(p.main, "ok")->text()), okCaption);
        QVERIFY(p.t.dialogs.errors.isEmpty());
    }

    void functionKeys_data() {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("window");
        QTest::newRow("F1") << QKeyCombination(Qt::Key_F1) << u"poznamky"_s;
        QTest::newRow("F2") << QKeyCombination(Qt::Key_F2) << u"diar"_s;
        QTest::newRow("F3") << QKeyCombination(Qt::Key_F3) << u"adresar"_s;
        QTest::newRow("F4") << QKeyCombination(Qt::Key_F4) << u"dennik"_s;
        QTest::newRow("F5") << QKeyCombination(Qt::Key_F5) << u"narodky"_s;
    }
    void functionKeys() {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, window);
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(toSettingsPage(p));
        // The window menu names it with its key.
        auto* item = p.main->findChild<QAction*>(u"okno"_s + window);
        QVERIFY(item);
        QCOMPARE(item->text(), p.record(window)->windowTitle().section(u" - "_s, 0, 0));
        QCOMPARE(item->shortcut(), QKeySequence(key));
        press(p.main, key);
        QCOMPARE(p.t.context.settings.lastWindow, window);
        QTRY_VERIFY(p.record(window)->isVisible());
        // The menu's item shows it as well.
        QVERIFY(toSettingsPage(p));
        item->trigger();
        QTRY_VERIFY(p.record(window)->isActiveWindow());
        // The next show of the program brings back that window.
        p.windows.Skryvsetko();
        p.windows.ToggleProgram();
        QCOMPARE(p.visibleWindows(), QStringList{window});
    }

    // F10 opens the first menu of the settings page and of a record window.
    void f10OpensTheMenuBar_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("menu");
        QTest::newRow("settings page") << u"velmorand"_s << u"Program1"_s;
        QTest::newRow("notes") << u"poznamky"_s << u"poznamkymenu"_s;
    }
    void f10OpensTheMenuBar() {
        QFETCH(QString, window);
        QFETCH(QString, menu);
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        QWidget* shown = p.windows.window(window);
        if (window == u"velmorand")
            QVERIFY(toSettingsPage(p));
        QVERIFY(QTest::qWaitForWindowActive(shown));
        press(shown, QKeyCombination(Qt::Key_F10));
        auto* opened = shown->findChild<QMenu*>(menu);
        QVERIFY(opened);
        QTRY_VERIFY(opened->isVisible());
        opened->close();
    }

    void altF4HidesEverything() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(toSettingsPage(p));
        const QByteArray settings = FileBytes(u"Velmorand.ini"_s);
        press(p.main, QKeyCombination(Qt::AltModifier, Qt::Key_F4));
        QCOMPARE(p.visibleWindows(), QStringList());
        QVERIFY(p.windows.isProgramHidden());
        // Activating the settings page read the settings again, and with
        // them the stored last window.
        QCOMPARE(p.t.context.settings.lastWindow, u"poznamky"_s);
        QVERIFY(trayItem(p.main, "zobrazitoknopopup")->isVisible());
        QCOMPARE(FileBytes(u"Velmorand.ini"_s), settings); // nothing is written
        p.windows.ToggleProgram();
        QTRY_COMPARE(p.visibleWindows(), QStringList{u"poznamky"_s});
    }

    void hotKeyTwoHidesThenShowsTheLastWindowOnly() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        QTRY_COMPARE(p.visibleWindows(), (QStringList{u"velmorand"_s, u"poznamky"_s}));
        p.record(u"diar"_s)->showActive();
        p.t.hotKeys.press(2);
        QCOMPARE(p.visibleWindows(), QStringList());
        p.t.hotKeys.press(2);
        QTRY_COMPARE(p.visibleWindows(), QStringList{u"poznamky"_s});
        QVERIFY(!p.windows.isProgramHidden());
        QVERIFY(!trayItem(p.main, "zobrazitoknopopup")->isVisible());
        // The tray item does the same.
        trayItem(p.main, "zobrazitoknopopup")->trigger();
        QCOMPARE(p.visibleWindows(), QStringList());
    }

    void trayLeftClickHidesAndShows() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        QTRY_COMPARE(p.visibleWindows(), (QStringList{u"velmorand"_s, u"poznamky"_s}));
        p.t.tray->area->click();
        QCOMPARE(p.visibleWindows(), QStringList());
        QVERIFY(p.windows.isProgramHidden());
        p.t.tray->area->click();
        QTRY_COMPARE(p.visibleWindows(), QStringList{u"poznamky"_s});
        QVERIFY(!p.windows.isProgramHidden());
    }

    void hideAllTakesABoxAlongAndBringsItBack() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        TQtDialogs desktop;
        QMessageBox* box = nullptr;
        bool hiddenUnanswered = false, shownAgain = false;
        // The steps run while the box waits for its answer.
        QTimer::singleShot(100, [&] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            p.windows.ToggleProgram();
        });
        QTimer::singleShot(400, [&] {
            hiddenUnanswered = box && !box->isVisible() && p.visibleWindows().isEmpty();
            p.windows.ToggleProgram();
        });
        QTimer::singleShot(700, [&] {
            shownAgain = box && box->isVisible();
            if (box)
                box->button(QMessageBox::Yes)->click();
        });
        const IDialogs::Answer answer = desktop.messageBox(
            nullptr, u"Otázka"_s, u"Naozaj?"_s, IDialogs::Icon::Question, IDialogs::Buttons::YesNo);
        QVERIFY(box);
        QVERIFY(hiddenUnanswered);
        QVERIFY(shownAgain);
        QCOMPARE(answer, IDialogs::Answer::Yes);
        QCOMPARE(p.visibleWindows(), QStringList{u"poznamky"_s});
    }

    void aProgramShowingNoWindowAlwaysComesBack() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        // The main window hidden at start, the notes closed by the user.
        p.main->hide();
        p.record(u"poznamky"_s)->hide();
        QVERIFY(!p.windows.isProgramHidden());
        // The tray offers the way back ...
        emit p.main->findChild<QMenu*>(u"Popup"_s)->aboutToShow();
        QVERIFY(trayItem(p.main, "zobrazitoknopopup")->isVisible());
        // ... and a later start takes it.
        p.windows.Restore();
        QTRY_COMPARE(p.visibleWindows(), QStringList{u"poznamky"_s});
        emit p.main->findChild<QMenu*>(u"Popup"_s)->aboutToShow();
        QVERIFY(!trayItem(p.main, "zobrazitoknopopup")->isVisible());
        // So does a left click on the icon.
        p.record(u"poznamky"_s)->hide();
        p.t.tray->area->click();
        QTRY_COMPARE(p.visibleWindows(), QStringList{u"poznamky"_s});
    }

    void hideAtStart() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, QByteArray(kDefaultFile).replace("Hide: 0", "Hide: 1"));
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(p.windows.isProgramHidden());
        QVERIFY(trayItem(p.main, "zobrazitoknopopup")->isVisible());
        QVERIFY(p.main->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!p.main->isVisible(), 3000);
        QCOMPARE(p.visibleWindows(), QStringList()); // no record window was shown meanwhile
    }

    void okAppliesAndSaves() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        child<QRadioButton>(p.main, "RadioItem3")->setChecked(true);
        child<QCheckBox>(p.main, "autorun")->setChecked(true);
        child<QKeySequenceEdit>(p.main, "HotKey2")->setKeySequence(QKeySequence(u"Alt+F9"_s));
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QCOMPARE(
            FileBytes(u"Velmorand.ini"_s),
            QByteArray("2.0\r\npoznamky\r\nReminderwindows: 1\r\nAutoupdate: 1\r\nAnounce: 3\r\n"
                       "Hide: 0\r\nShift+Ctrl+H\r\nAlt+F9\r\nSlovak\r\n"));
        QCOMPARE(p.t.sound.played, QStringList{u"sounds/beep.wav x1"_s});
        QCOMPARE(p.t.hotKeys.registered.value(2), QKeyCombination(Qt::AltModifier, Qt::Key_F9));
        QCOMPARE(p.t.context.settings.mode, 3);
        QVERIFY(p.t.context.autostart.isSet());
        child<QCheckBox>(p.main, "autorun")->setChecked(false);
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QVERIFY(!p.t.context.autostart.isSet());
    }

    void okSavesEvenWhenTheBeepFails() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        p.t.sound.failing.append(u"sounds/beep.wav"_s);
        child<QRadioButton>(p.main, "RadioItem2")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QCOMPARE(
            p.t.dialogs.errors,
            QStringList{
                u"Zvuk sounds/beep.wav sa nedá prehrať. Súbor chýba alebo nie je vo formáte WAVE."_s});
        QVERIFY(FileBytes(u"Velmorand.ini"_s).contains("Anounce: 2\r\n"));
    }

    // Closed with the window's close box, the program stays in the
    // notification area: the tray icon and the hot keys go on, nothing is
    // written. With that choice off (kept in velmorand.conf, never in
    // Velmorand.ini), or without a notification area, closing ends it.
    void closingTheWindow_data() {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<bool>("tray");
        QTest::newRow("kept in the tray") << true << true;
        QTest::newRow("choice off") << false << true;
        QTest::newRow("no notification area") << true << false;
    }
    void closingTheWindow() {
        QFETCH(bool, keep);
        QFETCH(bool, tray);
        TempHome home;
        TestProgram p;
        p.t.tray->available = tray;
        QVERIFY(p.start());
        auto* choice = child<QCheckBox>(p.main, "zatvorenievtray");
        QVERIFY(choice->isChecked()); // the default
        choice->setChecked(keep);
        const QByteArray before = FileBytes(TSettings::FileName);
        p.main->close();
        const bool stays = keep && tray;
        QCOMPARE(p.t.tray->shown, stays);
        QCOMPARE(p.t.hotKeys.registered.size(), stays ? 2 : 0);
        QCOMPARE(p.windows.isProgramHidden(), stays);
        if (stays)
            QCOMPARE(p.visibleWindows(), QStringList());
        QCOMPARE(FileBytes(TSettings::FileName), stays ? before : kDefaultFile);
        TOwnSettings own;
        own.load();
        QCOMPARE(own.closeToTray, keep);
    }

    void endingWritesTheFileAndReleasesTheDesktop() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        child<QCheckBox>(p.main, "oknozdiara")->setChecked(false);   // kept without OK
        child<QRadioButton>(p.main, "RadioItem0")->setChecked(true); // lost without OK
        p.main->findChild<QAction*>(u"koniec"_s)->trigger();
        QCOMPARE(FileBytes(u"Velmorand.ini"_s),
                 QByteArray(kDefaultFile).replace("Reminderwindows: 1", "Reminderwindow: 0"));
        QVERIFY(!p.t.tray->shown);
        QCOMPARE(p.t.tray->calls.last(), u"remove"_s);
        QVERIFY(p.t.hotKeys.registered.isEmpty());
    }

    // A quit that an editor refuses keeps the whole program: its tray icon,
    // its hot keys and Koniec. The next quit, answered Yes, ends it.
    void aCancelledQuitKeepsTheProgram() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        Trigger(p.record(u"poznamky"_s), "novymenu");
        QPointer editor = OpenWindow<TRecordEditor>();
        QVERIFY(editor);
        QTest::keyClicks(editor->form().firstEdit(), u"Nakup"_s);
        p.t.dialogs.answers = {IDialogs::Answer::No};
        trayItem(p.main, "koniecpopup")->trigger();
        QCOMPARE(p.t.dialogs.boxes.last().text, u"Záznam bol zmenený. Chcete zmeny zahodiť?"_s);
        QVERIFY(editor && editor->isVisible());
        QVERIFY(p.t.tray->shown);
        QCOMPARE(p.t.hotKeys.registered.size(), 2);
        p.t.dialogs.answers = {IDialogs::Answer::Yes};
        trayItem(p.main, "koniecpopup")->trigger();
        QTRY_VERIFY(!editor);
        QVERIFY(!p.t.tray->shown);
        QVERIFY(p.t.hotKeys.registered.isEmpty());
    }

    void endingUnattendedShowsNoBox() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        QFile::remove(u"Velmorand.ini"_s);
        QDir().mkdir(u"Velmorand.ini"_s); // cannot be written now
        p.windows.EndUnattended();
        QVERIFY(p.t.dialogs.errors.isEmpty());
        QVERIFY(!p.main->isVisible());
        QVERIFY(p.t.hotKeys.registered.isEmpty());
        // Nor does any question wait for an answer: it takes No.
        p.t.dialogs.answers = {IDialogs::Answer::Yes};
        QCOMPARE(p.t.dialogs.messageBox(nullptr, u"?"_s, u"?"_s, IDialogs::Icon::None,
                                        IDialogs::Buttons::YesNo),
                 IDialogs::Answer::No);
        QVERIFY(p.t.dialogs.boxes.isEmpty());
    }

    void hotKeysThatWouldTakeAKeyFromTheDesktopAreRefused() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY(toSettingsPage(p));
        auto* edit = child<QKeySequenceEdit>(p.main, "HotKey2");
        edit->setFocus();
        QVERIFY(WaitForFocus(p.main));
        QTest::keyClick(edit, Qt::Key_Q);
        QTRY_COMPARE_WITH_TIMEOUT(p.t.dialogs.boxes.size(), 1, 3000);
        QCOMPARE(p.t.dialogs.boxes[0].text,
                 u"Klávesová skratka musí obsahovať Ctrl, Alt alebo Super, alebo to musí byť "
                 "samotný kláves F1 až F12. Klávesy Esc, Enter, Tab a Backspace nemožno použiť."_s);
        QCOMPARE(edit->keySequence(), QKeySequence(u"Ctrl+Shift+O"_s));
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QCOMPARE(p.t.hotKeys.registered.value(2),
                 QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O));
        // A combination held by another program is said at OK, and kept.
        edit->setKeySequence(QKeySequence(u"Ctrl+Alt+K"_s));
        p.t.hotKeys.held = {QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_K)};
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QCOMPARE(p.t.dialogs.boxes.size(), 2);
        QCOMPARE(p.t.dialogs.boxes[1].text,
                 u"Klávesovú skratku Ctrl+Alt+K už používa iný program. Zvoľte inú."_s);
        QVERIFY(FileBytes(u"Velmorand.ini"_s).contains("\r\nCtrl+Alt+K\r\n"));
    }

    void refusedHotKeysAreNotReported() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        p.t.hotKeys.refuse = true;
        QVERIFY(p.start());
        QVERIFY(p.t.dialogs.errors.isEmpty());
        QVERIFY(p.t.dialogs.boxes.isEmpty());
    }

    void hotKeyOneWithoutAlarmDoesNothing() {
        TempHome home;
        WriteFileBytes(u"Velmorand.ini"_s, kDefaultFile);
        TestProgram p;
        QVERIFY(p.start());
        const QStringList before =
            QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        p.t.hotKeys.press(1);
        trayItem(p.main, "vypnialarmpopup")->trigger();
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
        QVERIFY(p.t.dialogs.boxes.isEmpty());
        QVERIFY(p.t.sound.played.isEmpty());
    }

    void recordWindowKeys() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        TRecordWindow* diar = p.record(u"diar"_s);
        p.windows.ShowWindowNamed(u"diar"_s);
        QVERIFY(QTest::qWaitForWindowActive(diar));
        press(diar, QKeyCombination(Qt::Key_F2)); // its own key: nothing
        QVERIFY(diar->isVisible());
        press(diar, QKeyCombination(Qt::Key_F1));
        QCOMPARE(p.t.context.settings.lastWindow, u"poznamky"_s);
        QVERIFY(!diar->isVisible());
        QTRY_VERIFY(p.record(u"poznamky"_s)->isVisible());
        TRecordWindow* notes = p.record(u"poznamky"_s);
        QVERIFY(QTest::qWaitForWindowActive(notes));
        press(notes, QKeyCombination(Qt::AltModifier, Qt::Key_F4));
        QCOMPARE(p.visibleWindows(), QStringList());
        QCOMPARE(p.t.context.settings.lastWindow, u"poznamky"_s);
    }

    void f12() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        for (const char* name : {"diar", "adresar", "poznamky"})
            p.windows.ShowWindowNamed(QString::fromLatin1(name));
        TRecordWindow* notes = p.record(u"poznamky"_s);
        QVERIFY(QTest::qWaitForWindowActive(notes));
        // F12 in the notes window closes all five record windows.
        press(notes, QKeyCombination(Qt::Key_F12));
        QCOMPARE(p.t.context.settings.lastWindow, u"velmorand"_s);
        QTRY_COMPARE(p.visibleWindows(), QStringList{u"velmorand"_s});
        // F12 elsewhere closes only that window.
        p.windows.ShowWindowNamed(u"adresar"_s);
        p.windows.ShowWindowNamed(u"dennik"_s);
        QVERIFY(QTest::qWaitForWindowActive(p.record(u"dennik"_s)));
        press(p.record(u"dennik"_s), QKeyCombination(Qt::Key_F12));
        QTRY_COMPARE(p.visibleWindows(), (QStringList{u"velmorand"_s, u"adresar"_s}));
    }

    void settingsPageRereadsOnActivation() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        child<QCheckBox>(p.main, "autorun")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(p.main, "ok"), Qt::LeftButton);
        QFile::remove(p.t.context.autostart.entryPath()); // removed by another tool
        QVERIFY(toSettingsPage(p));
        QVERIFY(!child<QCheckBox>(p.main, "autorun")->isChecked());
        QVERIFY(child<QCheckBox>(p.main, "oknozdiara")->hasFocus());
    }

    void wakeRestoresWithoutShowingHiddenWindows() {
        TempHome home;
        TestProgram p;
        QVERIFY(p.start());
        QTRY_VERIFY(p.record(u"poznamky"_s)->isVisible());
        p.main->showMinimized();
        p.windows.Restore();
        QVERIFY(!p.main->isMinimized());
        p.windows.Skryvsetko();
        p.windows.Restore();
        QCOMPARE(p.visibleWindows(), QStringList());
        QVERIFY(p.windows.isProgramHidden());
        // Without a notification area nothing else could bring the program back.
        p.t.tray->available = false;
        p.windows.Restore();
        QTRY_COMPARE(p.visibleWindows(), QStringList{u"poznamky"_s});
        QVERIFY(!p.windows.isProgramHidden());
    }
};

VELMORAND_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
