#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// A temporary folder that is the working folder while the object lives, as
// the home folder is while the program runs. The previous working folder is
// restored and the folder removed afterwards.
class TempHome {
public:
    TempHome();
    ~TempHome();
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

// Rows of a query run straight through SQLite, texts decoded from
// Windows-1250; a NULL is a null QString.
QList<QStringList> DbRows(const QString& file, const QString& sql);
QByteArray FileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// How long the tests' connections wait for another connection's lock.
inline constexpr int kTestBusyTimeout = 200;

// Prepares the process for headless tests: a temporary HOME with its own
// XDG folders, the offscreen platform, a Slovak locale. Lives for the run.
class TestEnvironment {
public:
    TestEnvironment();

private:
    QTemporaryDir m_root;
};

// A test of the core, which needs no display.
#define VELMORAND_CORE_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char** argv) {                                                              \
        TestEnvironment environment;                                                               \
        QCoreApplication app(argc, argv);                                                          \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
