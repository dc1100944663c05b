#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "shell/programcontext.h"

#include <QApplication>
#include <QByteArray>
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

// Records every box and answers from a script.
class FakeDialogs : public IDialogs {
public:
    struct Box {
        QString caption;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    Answer messageBox(QWidget* owner, const QString& caption, const QString& text, Icon icon,
                      Buttons buttons) override;
    void errorBox(const QString& text) override { errors.append(text); }
    QString saveFileName(QWidget*, const QString& title, const QString& filter,
                         const QString& fileName) override;
    QString openFileName(QWidget*, const QString& title, const QString& filter) override;

    QList<Box> boxes;
    QStringList errors;
    QStringList fileDialogTitles;
    // Answers of Yes/No boxes, used in order; an unscripted one answers No.
    QList<Answer> answers;
    // Names the file dialogs return, used in order; empty means cancelled.
    QStringList fileNames;
};

class FakeClock : public IClock {
public:
    QDateTime now() const override { return current; }
    void advanceSeconds(int seconds) { current = current.addSecs(seconds); }
    QDateTime current = QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC);
};

// A program context with fake dialogs and a fake clock.
struct TestContext {
    FakeDialogs dialogs;
    FakeClock clock;
    TProgramContext context{dialogs, clock};
};

// Rows of a query run straight through SQLite, texts decoded from
// Windows-1250; a NULL is a null QString.
QList<QStringList> DbRows(const QString& file, const QString& sql);
QByteArray FileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// Prepares the process for headless tests: a temporary HOME with its own
// XDG folders, the offscreen platform, a Slovak locale. Lives for the run.
class TestEnvironment {
public:
    TestEnvironment();

private:
    QTemporaryDir m_root;
};

#define VELMORAND_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char** argv) {                                                             \
        TestEnvironment environment;                                                               \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
