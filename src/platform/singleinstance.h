#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One running copy per user and home folder. The copy that holds the lock
// file in the home folder runs and listens on a local socket; a later start
// wakes it through that socket and ends. A copy killed without cleaning up
// leaves a lock whose process is gone, which the next start takes over.
class TSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit TSingleInstance(const QString& homeFolder);

    // True when this process is now the running copy. False when another
    // copy runs; it has then been asked to come to the front.
    bool claim();

    // The socket name: the user id and a hash of the home folder's canonical path.
    static QString serverName(const QString& homeFolder);

signals:
    void wakeRequested();

private:
    QString m_home;
    QLockFile m_lock;
    QLocalServer m_server;
};
