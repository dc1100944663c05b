// Desktop stand-ins: autostart entry, sound files, one running copy.
#include "platform/autostart.h"
#include "platform/portalhotkeys.h"
#include "platform/qtdialogs.h"
#include "platform/qtsoundplayer.h"
#include "platform/qttranslations.h"
#include "platform/singleinstance.h"
#include "platform/wavfile.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray wav(quint16 format, quint16 channels, quint32 rate, quint16 bits, quint32 dataSize,
               qsizetype actualData) {
    const auto le32 = [](quint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    const auto le16 = [](quint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray bytes = "RIFF" + le32(36 + dataSize) + "WAVE";
    bytes += "fmt " + le32(16) + le16(format) + le16(channels) + le32(rate) +
             le32(rate * channels * bits / 8) + le16(quint16(channels * bits / 8)) + le16(bits);
    bytes += "data" + le32(dataSize) + QByteArray(actualData, '\x10');
    return bytes;
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // A box shows a text as it is, never as markup or a link, and a long
    // one as an excerpt that is laid out at once.
    // An exception from a slot outside any command ends only that slot:
    // the event loop's last guard says it, and the program goes on.
    void aThrowingSlotIsSaid() {
        QStringList said;
        TApplication::setErrorHandler([&said](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                said.append(QString::fromUtf8(e.what()));
            }
        });
        QTimer::singleShot(0, [] { throw Exception(u"from a timer"_s); });
        QMetaObject::invokeMethod(
            qApp, [] { throw std::runtime_error("from a queued call"); }, Qt::QueuedConnection);
        QTRY_COMPARE(said, (QStringList{u"from a timer"_s, u"from a queued call"_s}));
        TApplication::setErrorHandler(nullptr);
    }

    // In Slovak, N answers No in every question (Debian's "Á&no" took N
    // too), and Enter takes the question's default button.
    // Hot keys as the desktop portal is asked for them.
    void portalTriggers_data() {
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("letter") << (Qt::CTRL | Qt::SHIFT | Qt::Key_H) << u"CTRL+SHIFT+h"_s;
        QTest::newRow("all four") << (Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::META | Qt::Key_O)
                                  << u"CTRL+ALT+SHIFT+LOGO+o"_s;
        QTest::newRow("F-key") << (Qt::ALT | Qt::Key_F9) << u"ALT+F9"_s;
        QTest::newRow("digit") << (Qt::CTRL | Qt::Key_5) << u"CTRL+5"_s;
    }
    void portalTriggers() {
        QFETCH(QKeyCombination, keys);
        QFETCH(QString, trigger);
        QCOMPARE(TPortalHotKeys::trigger(keys), trigger);
    }

    void questionKeys_data() {
        QTest::addColumn<IDialogs::Buttons>("buttons");
        QTest::addColumn<int>("key");
        QTest::addColumn<IDialogs::Answer>("answer");
        using B = IDialogs::Buttons;
        using A = IDialogs::Answer;
        QTest::newRow("n, Yes the default") << B::YesNo << int(Qt::Key_N) << A::No;
        QTest::newRow("n, No the default") << B::NoYes << int(Qt::Key_N) << A::No;
        QTest::newRow("Enter, Yes the default") << B::YesNo << int(Qt::Key_Return) << A::Yes;
        QTest::newRow("Enter, No the default") << B::NoYes << int(Qt::Key_Return) << A::No;
    }
    void questionKeys() {
        QFETCH(IDialogs::Buttons, buttons);
        QFETCH(int, key);
        QFETCH(IDialogs::Answer, answer);
        QVERIFY(UseQtTranslations(u"Slovak"_s));
        TQtDialogs dialogs;
        QTimer::singleShot(0, [key] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                    QTest::keyClick(box, Qt::Key(key));
        });
        const IDialogs::Answer given = dialogs.messageBox(nullptr, u"Otázka"_s, u"Naozaj?"_s,
                                                          IDialogs::Icon::Question, buttons);
        UseQtTranslations(QString());
        QCOMPARE(given, answer);
    }

    void boxesShowTextAsItIs_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString markup = u"<a href='https://evil.example/x'>nová verzia</a> <b>súbor</b>"_s;
        QTest::newRow("markup") << markup << markup;
        QTest::newRow("3 MB on one line")
            << QString(3 << 20, u'a') << QString(1000, u'a') + u"\u2026"_s;
        QTest::newRow("300,000 lines")
            << u"riadok\n"_s.repeated(300000) << u"riadok\n"_s.repeated(200) + u"\u2026"_s;
    }
    void boxesShowTextAsItIs() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        TQtDialogs dialogs;
        QString seen;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QDialog*>(window);
                if (!box || !box->isVisible())
                    continue;
                if (auto* message = qobject_cast<QMessageBox*>(box)) {
                    seen = message->text();
                    format = message->textFormat();
                } else if (auto* view = box->findChild<QPlainTextEdit*>()) {
                    seen = view->toPlainText() + u'\n';
                    format = Qt::PlainText;
                }
                box->accept();
            }
        });
        QElapsedTimer clock;
        clock.start();
        dialogs.messageBox(nullptr, u"Velmorand"_s, text, IDialogs::Icon::Information);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(seen.trimmed(), shown.trimmed());
    }

    void autostartEntry() {
        TempHome scratch;
        TAutostart autostart(u"/opt/vel morand/velmorand"_s, u"/home/ján/My $Data \"x\"\\y 100%"_s);
        QCOMPARE(autostart.entryPath(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") + u"/autostart/velmorand.desktop"_s);
        QVERIFY(!autostart.isSet());
        autostart.add();
        QVERIFY(autostart.isSet());
        const QByteArray entry = FileBytes(autostart.entryPath());
        QVERIFY2(entry.contains("Exec=\"/opt/vel morand/velmorand\" --home \"/home/j\xc3\xa1n/My "
                                "\\\\$Data \\\\\"x\\\\\"\\\\\\\\y 100%%\"\n"),
                 entry.constData());
        const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
        if (!validator.isEmpty()) {
            QProcess check;
            check.start(validator, {autostart.entryPath()});
            QVERIFY(check.waitForFinished());
            QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());
        }
        autostart.remove();
        QVERIFY(!autostart.isSet());
        QVERIFY(!QFile::exists(autostart.entryPath()));
        autostart.remove(); // removing what is not there is no error
    }

    void autostartEntryBelongsToTheHomeItStarts() {
        TempHome scratch;
        QDir().mkpath(u"one/two"_s);
        TAutostart one(u"/usr/bin/velmorand"_s, scratch.file(u"one"_s));
        TAutostart two(u"/usr/bin/velmorand"_s, scratch.file(u"one/two"_s));
        one.add();
        QVERIFY(one.isSet());
        QVERIFY(!two.isSet());
        two.remove(); // not its entry: it stays
        QVERIFY(one.isSet());
        // The same folder written another way is the same home.
        QVERIFY(TAutostart(u"/other/velmorand"_s, scratch.file(u"one/two/../"_s)).isSet());
        QCOMPARE(one.entryHome(), scratch.file(u"one"_s));
        one.remove();
        QVERIFY(!QFile::exists(one.entryPath()));
    }

    void autostartEntryWithoutCommand() {
        TAutostart autostart(u"/usr/bin/velmorand"_s, u"/tmp/h"_s);
        QDir().mkpath(QFileInfo(autostart.entryPath()).path());
        WriteFileBytes(autostart.entryPath(), "[Desktop Entry]\nExec=\n");
        QVERIFY(!autostart.isSet());
        QFile::remove(autostart.entryPath());
    }

    void wavFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("durationMs");
        QTest::newRow("16-bit mono") << wav(1, 1, 22050, 16, 44100, 44100) << QString() << 1000;
        QTest::newRow("8-bit stereo") << wav(1, 2, 8000, 8, 4000, 4000) << QString() << 250;
        QTest::newRow("truncated")
            << wav(1, 1, 22050, 16, 44100, 1000) << u"its sound data is cut short"_s << 0;
        QTest::newRow("24-bit") << wav(1, 1, 22050, 24, 300, 300)
                                << u"it is not 8- or 16-bit PCM sound"_s << 0;
        QTest::newRow("compressed")
            << wav(85, 1, 22050, 16, 300, 300) << u"it is not 8- or 16-bit PCM sound"_s << 0;
        QTest::newRow("no data") << wav(1, 1, 22050, 16, 0, 0) << u"its sound data is cut short"_s
                                 << 0;
        QTest::newRow("text") << QByteArray("hello, this is no sound") << u"it is not a WAV file"_s
                              << 0;
        QTest::newRow("empty") << QByteArray() << u"it is not a WAV file"_s << 0;
        QTest::newRow("header cut")
            << wav(1, 1, 22050, 16, 10, 10).left(30) << u"its format header is damaged"_s << 0;
        QTest::newRow("no data chunk")
            << wav(1, 1, 22050, 16, 10, 10).left(36) << u"it holds no sound data"_s << 0;
        QTest::newRow("huge chunk size") << QByteArray("RIFF\0\0\0\0WAVEjunk\xff\xff\xff\xff", 20)
                                         << u"it holds no sound data"_s << 0;
    }
    void wavFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        QFETCH(int, durationMs);
        const TWavInfo info = InspectWav(bytes);
        QCOMPARE(info.ok, problem.isEmpty());
        QCOMPARE(info.problem, problem);
        QCOMPARE(info.durationMs, durationMs);
    }

    void shippedSoundsArePlayable() {
        for (const char* name : {"avizo", "hour", "gong1", "gong2", "beep"}) {
            const TWavInfo info =
                InspectWavFile(u":/shipped/sounds/%1.wav"_s.arg(QLatin1String(name)));
            QVERIFY2(info.ok, name);
            QVERIFY2(info.durationMs > 50 && info.durationMs < 3000, name);
        }
        QCOMPARE(InspectWavFile(u"sounds/none.wav"_s).problem, u"the file does not exist"_s);
    }

    void unplayableSoundsAreReportedAtOnce() {
        TempHome home;
        QDir().mkdir(u"sounds"_s);
        WriteFileBytes(u"sounds/cut.wav"_s, wav(1, 1, 22050, 16, 44100, 100));
        TQtSoundPlayer player;
        const auto problem = [&](const QString& file) {
            try {
                player.play(file, 1);
            } catch (const ESoundError& e) {
                return e.message();
            }
            return QString();
        };
        QCOMPARE(problem(u"sounds/beep.wav"_s),
                 u"Cannot play the sound \"sounds/beep.wav\": the file does not exist"_s);
        QCOMPARE(problem(u"sounds/cut.wav"_s),
                 u"Cannot play the sound \"sounds/cut.wav\": its sound data is cut short"_s);
        QVERIFY(!player.isPlaying(u"sounds/cut.wav"_s));
    }

    void secondCopyWakesTheFirst() {
        TempHome scratch;
        TSingleInstance first(scratch.path());
        QCOMPARE(first.claim(), TSingleInstance::Claim::Running);
        QSignalSpy woken(&first, &TSingleInstance::wakeRequested);
        TSingleInstance second(scratch.path());
        QCOMPARE(second.claim(), TSingleInstance::Claim::Woken);
        QVERIFY(woken.wait(3000));

        // Another home folder is another program.
        TempHome other;
        TSingleInstance elsewhere(other.path());
        QCOMPARE(elsewhere.claim(), TSingleInstance::Claim::Running);
        QVERIFY(TSingleInstance::serverName(scratch.path()) !=
                TSingleInstance::serverName(other.path()));
    }

    void lockOfAKilledCopyIsTakenOver() {
        TempHome scratch;
        // A lock file left by a process that is gone, as after kill -9.
        QProcess gone;
        gone.start(u"/bin/true"_s);
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        WriteFileBytes(u".velmorand.lock"_s, QByteArray::number(pid) + "\nvelmorand\n" +
                                                 QSysInfo::machineHostName().toUtf8() + "\n");
        TSingleInstance next(scratch.path());
        QCOMPARE(next.claim(), TSingleInstance::Claim::Running);
    }

    void lockThatNoCopyAnswersForIsTakenOver_data() {
        QTest::addColumn<QByteArray>("lock");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("random bytes") << QByteArray("\x8f\x01\xff\xfe garbage\n\x00\x13", 16);
        QTest::newRow("another host") << QByteArray::number(QCoreApplication::applicationPid()) +
                                             "\nvelmorand\nanother-host.example\n";
    }
    void lockThatNoCopyAnswersForIsTakenOver() {
        QFETCH(QByteArray, lock);
        TempHome scratch;
        WriteFileBytes(u".velmorand.lock"_s, lock);
        TSingleInstance next(scratch.path());
        QCOMPARE(next.claim(), TSingleInstance::Claim::Running);
        // Taken over for real: a later start wakes it.
        TSingleInstance later(scratch.path());
        QCOMPARE(later.claim(), TSingleInstance::Claim::Woken);
    }

    void lockThatCannotBeTakenIsRefused() {
        TempHome scratch;
        QDir().mkdir(u".velmorand.lock"_s);
        TSingleInstance next(scratch.path());
        QCOMPARE(next.claim(), TSingleInstance::Claim::Refused);
        QVERIFY(QFileInfo(u".velmorand.lock"_s).isDir());
    }

    void lockIsFreedWhenTheCopyEnds() {
        TempHome scratch;
        {
            TSingleInstance first(scratch.path());
            QCOMPARE(first.claim(), TSingleInstance::Claim::Running);
        }
        TSingleInstance again(scratch.path());
        QCOMPARE(again.claim(), TSingleInstance::Claim::Running);
    }
};

VELMORAND_TEST_MAIN(TestPlatform)
#include "tst_platform.moc"
