#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr char kWake[] = "Velmorand\n";
}

TSingleInstance::TSingleInstance(const QString& homeFolder)
    : m_home(homeFolder), m_lock(homeFolder + u"/.velmorand.lock"_s) {
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

bool TSingleInstance::claim() {
    const QString name = serverName(m_home);
    if (m_lock.tryLock(0)) {
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
        if (!m_server.listen(name))
            qWarning("velmorand: cannot listen for later starts: %s",
                     qPrintable(m_server.errorString()));
        return true;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        // The lock file cannot be made at all: run rather than refuse to start.
        qWarning("velmorand: cannot make the lock file in %s", qPrintable(m_home));
        return true;
    }
    // The running copy may be between taking the lock and listening: try
    // for a moment, then give up quietly.
    const QDeadlineTimer deadline(1500);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(name);
        if (socket.waitForConnected(300)) {
            socket.write(kWake);
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return false;
        }
        QThread::msleep(50);
    }
    return false;
}
