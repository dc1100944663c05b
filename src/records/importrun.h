#pragma once

#include "language/strings.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <memory>

class Exception;
class QProgressDialog;
class TListWindow;
class TSQLiteDatabase;
class TSQLiteTransaction;
struct TFormatError;

// An import of one file into a window's current group, run in slices from
// the event loop so that the windows, the timer and the alarm go on, with
// its progress and a cancel. All of it is one transaction: it is stored
// only when the last record is, and any failure, or the user's cancel,
// leaves the files as they were. A kind says how its file is read and
// stored; the window lists what was stored once the import ends.
class TImportRun : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Done, Cancelled, Failed };

    // `progress` says what is imported while it runs.
    TImportRun(TListWindow& window, Str progress);
    ~TImportRun() override;

    void start();
    void cancel() { m_cancelled = true; }
    int imported() const { return m_imported; }

signals:
    // Once, at the end, after the outcome was said to the user.
    void finished(Outcome outcome, int imported);

protected:
    // Opens the file and the database (openDatabase), and begins the
    // transaction. Throws an Exception.
    virtual void open() = 0;
    // Reads or stores a little more; false when all is stored and the
    // transaction may end. Throws an Exception or TFormatError.
    virtual bool step() = 0;
    // Lets go of the statements and the file, before the transaction ends
    // (rolled back when it was not committed) and the database closes.
    virtual void release() = 0;
    // How far the import is, from 0 to 1000.
    virtual int progress() const = 0;
    // The box's text for a failure while the file is read and stored.
    virtual QString failureText(const Exception& e) const;
    virtual QString faultText(const TFormatError& fault) const = 0;
    // The closing box's text, and what follows a stored import.
    virtual QString doneText() const = 0;
    virtual void afterDone() {}

    // The window's data file, and the one long transaction of the import.
    TSQLiteDatabase& openDatabase();
    void beginTransaction();

    TListWindow& m_window;
    std::unique_ptr<TSQLiteDatabase> m_db;
    int m_imported = 0;

private:
    void slice();
    void end(Outcome outcome, const QString& text = QString());

    const Str m_progressText;
    std::unique_ptr<TSQLiteTransaction> m_transaction;
    QPointer<QProgressDialog> m_progress;
    bool m_cancelled = false;
    bool m_ended = false;
};

// Names with how many of each, as the closing boxes list them: "NOTE ×3".
QString CountedNames(const QMap<QString, int>& counts);
