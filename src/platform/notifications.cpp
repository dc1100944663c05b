#include "notifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;
const QString kInterface = u"org.freedesktop.Notifications"_s;

QDBusMessage call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

TDBusNotifications::TDBusNotifications() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, u"ActionInvoked"_s, this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, u"NotificationClosed"_s, this,
                SLOT(onClosed(uint, uint)));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call(u"GetCapabilities"_s)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        m_markup = !reply.isError() && reply.value().contains(u"body-markup"_s);
    });
}

TDBusNotifications::~TDBusNotifications() {
    close();
}

void TDBusNotifications::show(const QString& summary, const QString& body,
                              const QList<Action>& actions) {
    QStringList pairs;
    for (const Action& action : actions)
        pairs << action.key << action.label;
    const QVariantMap hints{
        {u"urgency"_s, QVariant::fromValue(uchar(2))}, // critical: stays until answered
        {u"resident"_s, true},
        {u"desktop-entry"_s, u"velmorand"_s},
        {u"category"_s, u"x-velmorand.reminder"_s},
    };
    QDBusMessage message = call(u"Notify"_s);
    message << u"Velmorand"_s << m_id << u"velmorand"_s << summary
            << (m_markup ? body.toHtmlEscaped() : body) << pairs << hints << qint32(0);
    m_closeWhenKnown = false;
    ++m_waiting;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        --m_waiting;
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) {
            std::fprintf(stderr, "velmorand: no desktop notification: %s\n",
                         qPrintable(reply.error().message()));
            if (m_waiting == 0 && !m_closeWhenKnown)
                emit unavailable();
            return;
        }
        m_id = reply.value();
        if (m_closeWhenKnown && m_waiting == 0)
            close();
    });
}

void TDBusNotifications::close() {
    if (m_waiting > 0) {
        m_closeWhenKnown = true;
        return;
    }
    if (m_id == 0)
        return;
    QDBusMessage message = call(u"CloseNotification"_s);
    message << std::exchange(m_id, 0u);
    QDBusConnection::sessionBus().asyncCall(message);
}

void TDBusNotifications::onActionInvoked(uint id, const QString& key) {
    if (id != 0 && id == m_id)
        emit actionInvoked(key);
}

void TDBusNotifications::onClosed(uint id, uint) {
    if (id == 0 || id != m_id)
        return;
    m_id = 0;
    emit dismissed();
}
