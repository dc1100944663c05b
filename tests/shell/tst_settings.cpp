// The settings file's lines and the hot-key texts.
#include "shell/hotkeytext.h"
#include "shell/settingsfile.h"
#include "testsupport.h"

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(TSettings)

namespace {
QStringList lines(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void writtenLines() {
        TSettings s;
        QCOMPARE(SettingsLines(s),
                 lines({"2.0", "poznamky", "Reminderwindows: 1", "Autoupdate: 1", "Anounce: 1",
                        "Hide: 0", "Ctrl+Shift+H", "Ctrl+Shift+O", "Slovak"}));
        s.lastWindow = u"diar"_s;
        s.oknozdiara = false;
        s.autoupdate = false;
        s.mode = 3;
        s.skrytokno = true;
        s.hotKey1 = u"Shift+Ctrl+F5"_s;
        s.hotKey2 = QString();
        s.language = u"&English"_s;
        QCOMPARE(SettingsLines(s),
                 lines({"2.0", "diar", "Reminderwindow: 0", "Autoupdate: 0", "Anounce: 3",
                        "Hide: 1", "Shift+Ctrl+F5", "", "&English"}));
        TSettings back;
        QVERIFY(ReadSettingsLines(SettingsLines(s), back));
        QCOMPARE(SettingsLines(back), SettingsLines(s));
    }

    void readLines_data() {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("expected"); // the settings written back after reading
        QTest::addColumn<bool>("modeRead");
        const QStringList defaults = SettingsLines(TSettings());
        QTest::newRow("mode 7 leaves the mode")
            << lines({"2.0", "diar", "Reminderwindows: 1", "Autoupdate: 1", "Anounce: 7", "Hide: 0",
                      "Ctrl+H", "Alt+F2", "Slovak"})
            << lines({"2.0", "diar", "Reminderwindows: 1", "Autoupdate: 1", "Anounce: 0", "Hide: 0",
                      "Ctrl+H", "Alt+F2", "Slovak"})
            << false;
        QTest::newRow("only the last character counts")
            << lines({"2.0", "adresar", "x0", "Autoupdate: 10", "2", "Hide: yes1", "Ctrl+H",
                      "Ctrl+O", "Deutsch"})
            << lines({"2.0", "adresar", "Reminderwindow: 0", "Autoupdate: 0", "Anounce: 2",
                      "Hide: 1", "Ctrl+H", "Ctrl+O", "Deutsch"})
            << true;
        QTest::newRow("short file takes the defaults of the missing lines")
            << lines({"2.0", "dennik", "Reminderwindow: 0"})
            << lines({"2.0", "dennik", "Reminderwindow: 0", "Autoupdate: 1", "Anounce: 1",
                      "Hide: 0", "Ctrl+Shift+H", "Ctrl+Shift+O", "Slovak"})
            << true;
        QTest::newRow("empty lines among 3 to 6")
            << lines({"2.0", "narodky", "", "", "", "", "Ctrl+H", "Ctrl+O", ""})
            << lines({"2.0", "narodky", "Reminderwindows: 1", "Autoupdate: 1", "Anounce: 1",
                      "Hide: 0", "Ctrl+H", "Ctrl+O", "Slovak"})
            << true;
        // Hot-key lines that name no combination come back as they were.
        QTest::newRow("unknown window and garbage hot keys")
            << lines({"2.0", "\x01\x02garbage", "Reminderwindow: 0", "Autoupdate: 1", "Anounce: 2",
                      "Hide: 0", "Ctrl+Nonsense", "\x7f\x01", "Slovak"})
            << lines({"2.0", "poznamky", "Reminderwindow: 0", "Autoupdate: 1", "Anounce: 2",
                      "Hide: 0", "Ctrl+Nonsense", "\x7f\x01", "Slovak"})
            << true;
        QTest::newRow("an emptied hot key stays empty")
            << lines({"2.0", "velmorand", "Reminderwindows: 1", "Autoupdate: 1", "Anounce: 0",
                      "Hide: 0", "", "", "Slovak"})
            << lines({"2.0", "velmorand", "Reminderwindows: 1", "Autoupdate: 1", "Anounce: 0",
                      "Hide: 0", "", "", "Slovak"})
            << true;
        QTest::newRow("overlong lines")
            << QStringList{u"2.0"_s,
                           QString(100000, u'x'),
                           QString(100000, u'y') + u'0',
                           u"Autoupdate: 1"_s,
                           QString(100000, u'z') + u'3',
                           u"Hide: 0"_s,
                           QString(100000, u'k'),
                           u"Ctrl+O"_s,
                           u"Slovak"_s}
            << (QStringList{u"2.0"_s, u"poznamky"_s, u"Reminderwindow: 0"_s, u"Autoupdate: 1"_s,
                            u"Anounce: 3"_s, u"Hide: 0"_s, QString(100000, u'k'), u"Ctrl+O"_s,
                            u"Slovak"_s})
            << true;
    }
    void readLines() {
        QFETCH(QStringList, file);
        QFETCH(QStringList, expected);
        QFETCH(bool, modeRead);
        TSettings settings;
        settings.mode = 0; // as before any file is read
        bool read = !modeRead;
        QVERIFY(ReadSettingsLines(file, settings, &read));
        QCOMPARE(read, modeRead);
        QCOMPARE(SettingsLines(settings), expected);
    }

    void wrongVersionChangesNothing_data() {
        QTest::addColumn<QStringList>("file");
        QTest::newRow("empty") << QStringList();
        QTest::newRow("old version") << lines({"1.0", "diar"});
        QTest::newRow("blank after version") << lines({"2.0 ", "diar"});
        QTest::newRow("binary") << QStringList{QString::fromLatin1("\x89PNG\x1a\x00", 6)};
    }
    void wrongVersionChangesNothing() {
        QFETCH(QStringList, file);
        TSettings settings;
        settings.lastWindow = u"adresar"_s;
        QVERIFY(!ReadSettingsLines(file, settings));
        QCOMPARE(settings.lastWindow, u"adresar"_s);
    }

    void usableHotKeys_data() {
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<bool>("usable");
        const auto row = [](const char* name, QKeyCombination keys, bool usable) {
            QTest::newRow(name) << keys << usable;
        };
        row("a letter", QKeyCombination(Qt::Key_Q), false);
        row("Shift and a letter", QKeyCombination(Qt::ShiftModifier, Qt::Key_Q), false);
        row("Ctrl and a letter", QKeyCombination(Qt::ControlModifier, Qt::Key_Q), true);
        row("Alt and a digit", QKeyCombination(Qt::AltModifier, Qt::Key_7), true);
        row("Super and a letter", QKeyCombination(Qt::MetaModifier, Qt::Key_E), true);
        row("an F-key alone", QKeyCombination(Qt::Key_F9), true);
        row("Shift and an F-key", QKeyCombination(Qt::ShiftModifier, Qt::Key_F9), true);
        row("Esc", QKeyCombination(Qt::Key_Escape), false);
        row("Ctrl and Enter", QKeyCombination(Qt::ControlModifier, Qt::Key_Return), false);
        row("Alt and Tab", QKeyCombination(Qt::AltModifier, Qt::Key_Tab), false);
        row("Backspace", QKeyCombination(Qt::Key_Backspace), false);
        row("a lone modifier", QKeyCombination(Qt::ControlModifier, Qt::Key_Control), false);
        row("nothing", QKeyCombination(), false);
    }
    void usableHotKeys() {
        QFETCH(QKeyCombination, keys);
        QFETCH(bool, usable);
        QCOMPARE(IsUsableHotKey(keys), usable);
    }

    void hotKeyTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<QString>("written");
        const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("default") << u"Ctrl+Shift+H"_s << QKeyCombination(ctrlShift, Qt::Key_H)
                                 << u"Shift+Ctrl+H"_s;
        QTest::newRow("shift first")
            << u"Shift+Ctrl+O"_s << QKeyCombination(ctrlShift, Qt::Key_O) << u"Shift+Ctrl+O"_s;
        QTest::newRow("alt in the middle")
            << u"Ctrl+Alt+Shift+X"_s << QKeyCombination(ctrlShift | Qt::AltModifier, Qt::Key_X)
            << u"Shift+Ctrl+Alt+X"_s;
        QTest::newRow("any letter case")
            << u"ctrl+shift+h"_s << QKeyCombination(ctrlShift, Qt::Key_H) << u"Shift+Ctrl+H"_s;
        QTest::newRow("digit") << u"Alt+7"_s << QKeyCombination(Qt::AltModifier, Qt::Key_7)
                               << u"Alt+7"_s;
        QTest::newRow("F-key") << u"Ctrl+F11"_s << QKeyCombination(Qt::ControlModifier, Qt::Key_F11)
                               << u"Ctrl+F11"_s;
        QTest::newRow("short names")
            << u"Ctrl+PgDn"_s << QKeyCombination(Qt::ControlModifier, Qt::Key_PageDown)
            << u"Ctrl+PgDn"_s;
        QTest::newRow("long names")
            << u"Shift+Delete"_s << QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete)
            << u"Shift+Del"_s;
        QTest::newRow("space") << u"Ctrl+Space"_s
                               << QKeyCombination(Qt::ControlModifier, Qt::Key_Space)
                               << u"Ctrl+Space"_s;
        QTest::newRow("no modifier") << u"F9"_s << QKeyCombination(Qt::Key_F9) << u"F9"_s;
        QTest::newRow("plus key") << u"Ctrl++"_s
                                  << QKeyCombination(Qt::ControlModifier, Qt::Key_Plus)
                                  << u"Ctrl++"_s;
        QTest::newRow("empty") << QString() << QKeyCombination() << QString();
        QTest::newRow("modifiers alone") << u"Ctrl+Shift+"_s << QKeyCombination() << QString();
        QTest::newRow("unknown key") << u"Ctrl+Bogus"_s << QKeyCombination() << QString();
        QTest::newRow("two keys") << u"Ctrl+H, Ctrl+J"_s << QKeyCombination() << QString();
    }
    void hotKeyTexts() {
        QFETCH(QString, text);
        QFETCH(QKeyCombination, keys);
        QFETCH(QString, written);
        QCOMPARE(ParseHotKeyText(text), keys);
        QCOMPARE(HotKeyText(keys), written);
        if (!written.isEmpty())
            QCOMPARE(ParseHotKeyText(written), keys);
    }
};

VELMORAND_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
