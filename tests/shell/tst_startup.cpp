// The home folder and the program start, in-process and as the real binary.
#include "platform/homefolder.h"
#include "shell/formvelmorand.h"
#include "storage/exception.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run runBinary(const QStringList& arguments,
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORAND_BINARY), arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QString dataHome() {
    return qEnvironmentVariable("XDG_DATA_HOME");
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void resolveOrder() {
        QCOMPARE(HomeFolder::resolve(u"/x/given"_s), u"/x/given"_s);
        qputenv("VELMORAND_HOME", "/x/env");
        QCOMPARE(HomeFolder::resolve(QString()), u"/x/env"_s);
        QCOMPARE(HomeFolder::resolve(u"/x/given"_s), u"/x/given"_s);
        qunsetenv("VELMORAND_HOME");
        QCOMPARE(HomeFolder::resolve(QString()), dataHome() + u"/velmorand"_s);
    }

    void prepareMakesTheWorkingFolderAndCopiesLanguages() {
        TempHome scratch;
        const QString home = scratch.file(u"a/b/velmorand"_s);
        HomeFolder::prepare(home);
        QCOMPARE(QDir::currentPath(), home);
        QVERIFY(QFileInfo(u"languages/English.lng"_s).isWritable());
        QCOMPARE(FileBytes(u"languages/English.lng"_s).left(15), QByteArray("Velmorand 2.1\r\n"));
        // A file the user changed is kept.
        WriteFileBytes(u"languages/English.lng"_s, "mine\r\n");
        HomeFolder::prepare(home);
        QCOMPARE(FileBytes(u"languages/English.lng"_s), QByteArray("mine\r\n"));
    }

    void unusableHomeFolders_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("under a file") << u"file/velmorand"_s;
        QTest::newRow("a file") << u"file"_s;
        QTest::newRow("under /proc") << u"/proc/velmorand-test"_s;
    }
    void unusableHomeFolders() {
        QFETCH(QString, path);
        TempHome scratch;
        WriteFileBytes(u"file"_s, "x");
        const QString full = QDir(scratch.path()).absoluteFilePath(path);
        try {
            HomeFolder::prepare(full);
            QFAIL("an unusable home folder was accepted");
        } catch (const EFileError& e) {
            QVERIFY2(e.message().startsWith(u"The home folder \"%1\" cannot be used"_s.arg(full)),
                     qPrintable(e.message()));
        }
        QCOMPARE(QDir::currentPath(), scratch.path());
    }

    void formCreateMakesTheDataFiles() {
        TempHome home;
        TestContext t;
        TWindowManager windows(t.context);
        Tformvelmorand& window = *windows.main();
        QCOMPARE(window.windowTitle(), u"Velmorand " PROJECT_VERSION_TEXT ""_s);
        window.FormCreate();
        QCOMPARE(QDir(u"data"_s).entryList(QDir::Files),
                 (QStringList{u"Addressbook.dbf"_s, u"Birth.dbf"_s, u"Diary.dbf"_s, u"Notes.dbf"_s,
                              u"Reminders.dbf"_s}));
        QVERIFY(t.dialogs.errors.isEmpty());
    }

    void formCreateNamesTheFilesItCannotUse() {
        TempHome home;
        WriteFileBytes(u"data"_s, "not a folder");
        TestContext t;
        TWindowManager windows(t.context);
        windows.main()->FormCreate();
        QCOMPARE(t.dialogs.errors.first(),
                 u"Tieto dátové súbory sa nedajú otvoriť a zostávajú nezmenené: data/Notes.dbf, "
                 "data/Reminders.dbf, data/Addressbook.dbf, data/Diary.dbf, data/Birth.dbf. "
                 "Ostatné časti "
                 "programu pracujú ďalej."_s);
        QCOMPARE(FileBytes(u"data"_s), QByteArray("not a folder"));
    }

    void aDamagedDataFileStopsNothingElse() {
        TempHome scratch;
        QDir().mkpath(u"home/data"_s);
        const QByteArray garbage(4096, '\x7f');
        WriteFileBytes(u"home/data/Notes.dbf"_s, garbage);
        QProcess process;
        process.start(QStringLiteral(VELMORAND_BINARY), {u"--home"_s, scratch.file(u"home"_s)});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(scratch.file(u"home/data/Birth.dbf"_s)), 15000);
        QTest::qWait(500);
        QCOMPARE(process.state(), QProcess::Running);
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QVERIFY2(process.readAllStandardError().contains("data/Notes.dbf"), "no word on stderr");
        QCOMPARE(FileBytes(scratch.file(u"home/data/Notes.dbf"_s)), garbage);
        QCOMPARE(DbRows(scratch.file(u"home/data/Diary.dbf"_s), u"SELECT nametable FROM tables"_s),
                 QList<QStringList>{{u"mojdennik"_s}});
    }

    void helpAndVersionTouchNothing_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("help") << u"--help"_s << QByteArray("--home <DIR>");
        QTest::newRow("help's usage line")
            << u"--help"_s << QByteArray("Usage: velmorand [options]");
        QTest::newRow("version") << u"--version"_s
                                 << QByteArray("velmorand " PROJECT_VERSION_TEXT "\n");
    }
    void helpAndVersionTouchNothing() {
        QFETCH(QString, argument);
        QFETCH(QByteArray, expected);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.remove(u"DISPLAY"_s); // no display is needed
        const Run run = runBinary({argument}, environment);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(expected), run.out.constData());
        QVERIFY(!QFileInfo::exists(dataHome() + u"/velmorand"_s));
    }

    void unknownArgument() {
        const Run run = runBinary({u"--bogus"_s});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("bogus"), run.err.constData());
    }

    void unusableHomeFolderEndsWithOneMessage() {
        TempHome scratch;
        WriteFileBytes(u"file"_s, "x");
        const QString path = scratch.file(u"file/home"_s);
        const Run run = runBinary({u"--home"_s, path});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err,
                 (u"velmorand: The home folder \"%1\" cannot be used: it cannot be created\n"_s.arg(
                      path))
                     .toUtf8());
    }

    void lockThatCannotBeTakenStopsTheStartWithAMessage() {
        TempHome scratch;
        QDir().mkpath(u"home/.velmorand.lock"_s);
        const Run run = runBinary({u"--home"_s, scratch.file(u"home"_s)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("zámok"), run.err.constData());
        QVERIFY2(run.err.contains(".velmorand.lock"), run.err.constData());
        QVERIFY(!QFileInfo::exists(scratch.file(u"home/data"_s)));
    }

    void startsOnAFreshHomeFolder() {
        TempHome scratch;
        QProcess process;
        process.start(QStringLiteral(VELMORAND_BINARY), {u"--home"_s, scratch.file(u"fresh"_s)});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(scratch.file(u"fresh/data/Birth.dbf"_s)), 15000);
        QCOMPARE(process.state(), QProcess::Running);
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        QVERIFY(QFileInfo::exists(scratch.file(u"fresh/languages/English.lng"_s)));
        QCOMPARE(
            DbRows(scratch.file(u"fresh/data/Notes.dbf"_s), u"SELECT captiontable FROM tables"_s),
            QList<QStringList>{{u"Moje poznámky"_s}});
    }
};

VELMORAND_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
