#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One running copy per user and home folder. The copy that holds the lock
// file in the home folder runs and listens on a local socket; a later start
// wakes it through that socket and ends. A lock that no running copy
// answers for (its process killed, or its file emptied or garbled) is stale
// and taken over; a running copy also holds the file's system lock, so its
// lock is never taken from it.
class TSingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Running, // this process is now the running copy
        Woken,   // another copy runs; it has been asked to come to the front
        Refused, // the lock can be neither made nor taken: nothing may run
    };

    explicit TSingleInstance(const QString& homeFolder);

    Claim claim();
    QString lockPath() const;

    // The socket name: the user id and a hash of the home folder's canonical path.
    static QString serverName(const QString& homeFolder);

signals:
    void wakeRequested();

private:
    void listen();
    // Asks a running copy to come to the front, for a moment; false when
    // none answers.
    bool wakeRunningCopy();

    QString m_home;
    QLockFile m_lock;
    QLocalServer m_server;
};
