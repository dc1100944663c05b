#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <csignal>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr char kWake[] = "Velmorand\n";
}

TSingleInstance::TSingleInstance(const QString& homeFolder)
    : m_home(homeFolder), m_lock(lockPath()) {
    // The lock never goes stale by age: the running copy may run for weeks.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
}

QString TSingleInstance::serverName(const QString& homeFolder) {
    QString canonical = QFileInfo(homeFolder).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QFileInfo(homeFolder).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256);
    return u"velmorand-%1-%2"_s.arg(getuid()).arg(QString::fromLatin1(hash.toHex().left(24)));
}

QString TSingleInstance::lockPath() const {
    return m_home + u"/.velmorand.lock"_s;
}

TSingleInstance::Claim TSingleInstance::claim() {
    if (m_lock.tryLock(0)) {
        listen();
        return Claim::Running;
    }
    if (m_lock.error() != QLockFile::LockFailedError)
        return Claim::Refused;
    if (wakeRunningCopy())
        return Claim::Woken;
    // No copy answers for the lock. Its file goes unless a live process
    // holds its system lock.
    if (m_lock.removeStaleLockFile() && m_lock.tryLock(0)) {
        qWarning("velmorand: took over the lock %s, which no running copy answered for",
                 qPrintable(lockPath()));
        listen();
        return Claim::Running;
    }
    qint64 pid = 0;
    QString host, application;
    if (m_lock.getLockInfo(&pid, &host, &application) && ::kill(pid_t(pid), 0) == 0) {
        qWarning("velmorand: another copy (process %lld) runs on %s but does not answer", pid,
                 qPrintable(m_home));
        return Claim::Woken;
    }
    return Claim::Refused;
}

void TSingleInstance::listen() {
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kWake))
                    emit wakeRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    if (!m_server.listen(serverName(m_home)))
        qWarning("velmorand: cannot listen for later starts: %s",
                 qPrintable(m_server.errorString()));
}

bool TSingleInstance::wakeRunningCopy() {
    // The running copy may be between taking the lock and listening: try
    // for a moment.
    const QString name = serverName(m_home);
    const QDeadlineTimer deadline(1500);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(name);
        if (socket.waitForConnected(300)) {
            socket.write(kWake);
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}
