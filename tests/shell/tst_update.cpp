// The update check against a local HTTPS server with a throw-away
// certificate authority: what each answer of the server leads to, in the
// manual check (every outcome said) and the automatic one (silent unless a
// newer version is found), and that start-up never waits for it.
#include "shell/formvelmorand.h"
#include "shell/settingsfile.h"
#include "shell/updatecheck.h"
#include "storage/linefile.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNoNewer = u"Nenašla sa novšia verzia Velmoranda."_s;
const QString kInfoFailed =
    u"Vyskytla sa chyba pri pokuse získať informácie o novej verzii programu. Skúste to neskôr!"_s;
const QString kQuestion = u"Našla sa novšia verzia Velmoranda. Chcete ju stiahnuť?"_s;
const QString kDownloadFailed = u"Vyskytla sa chyba pri sťahovaní súboru. Skústeto neskôr!"_s;

// The server, started once, and the authority the program is to trust.
struct Server {
    QTemporaryDir folder;
    QProcess process;
    QString host, other; // https://127.0.0.1:port for the right and the wrong certificate
    bool start() {
        process.start(u"python3"_s, {QFINDTESTDATA("../update/server.py"), folder.path()});
        if (!process.waitForReadyRead(20000))
            return false;
        const QStringList ports = QString::fromLatin1(process.readLine()).simplified().split(u' ');
        host = u"https://127.0.0.1:"_s + ports.value(0);
        other = u"https://127.0.0.1:"_s + ports.value(1);
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.addCaCertificates(folder.filePath(u"ca.pem"_s));
        QSslConfiguration::setDefaultConfiguration(ssl);
        return true;
    }
    ~Server() {
        process.kill();
        process.waitForFinished();
    }
};

Server* running = nullptr;

Server* server() {
    if (!running) {
        running = new Server;
        if (!running->start())
            qFatal("the test server did not start");
    }
    return running;
}

// Runs one check to its end.
void run(TUpdateCheck& check, bool manual) {
    QSignalSpy ended(&check, &TUpdateCheck::finished);
    manual ? check.hladatupdateClick() : check.Kontrolujupdate();
    if (ended.isEmpty())
        QVERIFY(ended.wait(20000));
}

QStringList boxTexts(const FakeDialogs& dialogs) {
    QStringList texts;
    for (const FakeDialogs::Box& box : dialogs.boxes)
        texts.append(box.text);
    return texts;
}

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { delete running; }

    // What the server answers, the user's answers, and what the user sees.
    void answers_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QList<IDialogs::Answer>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("saved");
        using A = IDialogs::Answer;
        const QString saved = u"Nová verzia bola úspešne uložená do priečinka "_s;
        QTest::newRow("same, manual")
            << u"/same"_s << true << QList<A>() << QStringList{kNoNewer} << false;
        QTest::newRow("same, automatic")
            << u"/same"_s << false << QList<A>() << QStringList() << false;
        QTest::newRow("newer, saved")
            << u"/newer"_s << false << QList<A>{A::Yes} << QStringList{kQuestion, saved} << true;
        QTest::newRow("older, offered, no")
            << u"/older"_s << true << QList<A>{A::No} << QStringList{kQuestion} << false;
        for (const char* bad : {"/empty", "/binary", "/big", "/70k", "/twolines", "/notaversion",
                                "/redirect", "/hang", "/trickle", "/missing"}) {
            QTest::newRow(bad) << QString::fromLatin1(bad) << true << QList<A>()
                               << QStringList{kInfoFailed} << false;
            QTest::newRow(QByteArray(bad) + ", automatic")
                << QString::fromLatin1(bad) << false << QList<A>() << QStringList() << false;
        }
        QTest::newRow("another host's certificate")
            << u"other:/newer"_s << true << QList<A>() << QStringList{kInfoFailed} << false;
        QTest::newRow("a name leaving the folder")
            << u"/hostile"_s << true << QList<A>()
            << QStringList{u"Názov súboru novej verzie „../velmorand-2.2“ nie je povolený, preto "
                           u"sa nič nestiahne."_s}
            << false;
        QTest::newRow("a program over http")
            << u"/insecure"_s << true << QList<A>() << QStringList() << false;
        QTest::newRow("a download cut short") << u"/broken"_s << true << QList<A>{A::Yes}
                                              << QStringList{kQuestion, kDownloadFailed} << false;
    }
    void answers() {
        QFETCH(QString, path);
        QFETCH(bool, manual);
        QFETCH(QList<IDialogs::Answer>, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, saved);
        TempHome home;
        TestContext t;
        TUpdateCheck check(t.context, nullptr);
        check.setTimeouts(1500, 1500, 2500);
        const QString url =
            path.startsWith(u"other:") ? server()->other + path.mid(6) : server()->host + path;
        qputenv("VELMORAND_UPDATE_URL", url.toUtf8());
        QDir().mkpath(u"downloads"_s);
        t.dialogs.answers = answers;
        t.dialogs.fileNames = {QDir::current().filePath(u"downloads/any name"_s)};
        run(check, manual);
        QStringList seen = boxTexts(t.dialogs);
        if (path == u"/insecure") {
            QCOMPARE(seen.size(), 1);
            QVERIFY2(seen[0].contains(u"http://127.0.0.1:"_s), qPrintable(seen[0]));
            seen.clear();
        }
        if (saved)
            boxes.last() +=
                QDir::toNativeSeparators(QDir::current().absoluteFilePath(u"downloads"_s));
        QCOMPARE(seen, boxes);
        // Only the chosen folder, only the version file's name, no leftovers.
        QCOMPARE(QDir(u"downloads"_s).entryList(QDir::Files | QDir::Hidden),
                 saved ? QStringList{u"velmorand-2.2"_s} : QStringList());
        if (saved) {
            QVERIFY(FileBytes(u"downloads/velmorand-2.2"_s).startsWith("#!/bin/sh\n"));
            QCOMPARE(t.dialogs.fileDialogTitles, QStringList{u"Uloženie novej verzie"_s});
        }
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(!check.running());
    }

    // A cancelled save dialog downloads nothing; a file already there is
    // replaced only when the user says so.
    void theSaveDialogAndAFileAlreadyThere() {
        TempHome home;
        TestContext t;
        TUpdateCheck check(t.context, nullptr);
        qputenv("VELMORAND_UPDATE_URL", (server()->host + u"/newer"_s).toUtf8());
        t.dialogs.answers = {IDialogs::Answer::Yes};
        t.dialogs.fileNames = {QString()};
        run(check, true);
        QCOMPARE(boxTexts(t.dialogs), QStringList{kQuestion});
        QCOMPARE(QDir().entryList(QDir::Files), QStringList());

        WriteFileBytes(u"velmorand-2.2"_s, "mine");
        t.dialogs.boxes.clear();
        t.dialogs.answers = {IDialogs::Answer::Yes, IDialogs::Answer::No};
        t.dialogs.fileNames = {QDir::current().filePath(u"velmorand-2.2"_s)};
        run(check, true);
        QCOMPARE(t.dialogs.boxes.size(), 2);
        QVERIFY(t.dialogs.boxes[1].text.startsWith(u"Súbor "_s));
        QCOMPARE(FileBytes(u"velmorand-2.2"_s), QByteArray("mine"));

        t.dialogs.answers = {IDialogs::Answer::Yes, IDialogs::Answer::Yes};
        t.dialogs.fileNames = {QDir::current().filePath(u"velmorand-2.2"_s)};
        run(check, true);
        QVERIFY(FileBytes(u"velmorand-2.2"_s).startsWith("#!/bin/sh\n"));
    }

    // The button pressed while the check at start runs: that check goes on,
    // and its outcome is said.
    void theButtonTakesTheCheckOver() {
        TempHome home;
        TestContext t;
        TUpdateCheck check(t.context, nullptr);
        check.setTimeouts(1500, 1500);
        qputenv("VELMORAND_UPDATE_URL", (server()->host + u"/hang"_s).toUtf8());
        QSignalSpy ended(&check, &TUpdateCheck::finished);
        check.Kontrolujupdate();
        check.hladatupdateClick();
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.size(), 1);
        QCOMPARE(boxTexts(t.dialogs), QStringList{kInfoFailed});
    }

    // A server that never answers does not hold start-up up: the windows
    // come as always while the check waits.
    void startUpDoesNotWait() {
        TempHome home;
        qputenv("VELMORAND_UPDATE_URL", (server()->host + u"/hang"_s).toUtf8());
        TSettings settings;
        settings.autoupdate = 1;
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        QElapsedTimer started;
        started.start();
        TestProgram p;
        QVERIFY(p.start());
        QVERIFY2(started.elapsed() < 5000, qPrintable(QString::number(started.elapsed())));
        auto* check = p.main->findChild<TUpdateCheck*>();
        QVERIFY(check && check->running());
        QVERIFY(p.t.dialogs.boxes.isEmpty());
    }

    // Without a network (run in a namespace of its own): the manual check
    // says so, the automatic one says nothing.
    void notOnline() {
        if (qEnvironmentVariableIsEmpty("VELMORAND_TEST_OFFLINE"))
            QSKIP("run by its own test entry without a network");
        TempHome home;
        TestContext t;
        TUpdateCheck check(t.context, nullptr);
        qputenv("VELMORAND_UPDATE_URL", "https://velmorand.example.org/velmorand/version.dbf");
        run(check, false);
        QVERIFY(t.dialogs.boxes.isEmpty());
        run(check, true);
        QCOMPARE(boxTexts(t.dialogs),
                 QStringList{u"Momentálne nie ste ONLINE pripojený k internetu, preto nie je možné "
                             u"hľadať novú verziu programu.\r\nPripojte sa k sieti internet a "
                             u"skúste to znova!"_s});
    }
};

VELMORAND_TEST_MAIN(TestUpdate)
#include "tst_update.moc"
