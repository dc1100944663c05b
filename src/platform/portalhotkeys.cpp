#include "portalhotkeys.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QKeySequence>
#include <QTimer>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.portal.Desktop"_s;
const QString kPath = u"/org/freedesktop/portal/desktop"_s;
const QString kInterface = u"org.freedesktop.portal.GlobalShortcuts"_s;

// A shortcut as the portal passes it: (sa{sv}).
struct TShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& out, const TShortcut& shortcut) {
    out.beginStructure();
    out << shortcut.id << shortcut.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, TShortcut& shortcut) {
    in.beginStructure();
    in >> shortcut.id >> shortcut.properties;
    in.endStructure();
    return in;
}

QString shortcutId(int id) {
    return u"hotkey"_s + QString::number(id);
}

} // namespace

Q_DECLARE_METATYPE(TShortcut)

TPortalHotKeys::TPortalHotKeys() {
    qDBusRegisterMetaType<TShortcut>();
    qDBusRegisterMetaType<QList<TShortcut>>();
    QDBusConnection::sessionBus().connect(kService, kPath, kInterface, u"Activated"_s, this,
                                          SLOT(onActivated(QDBusMessage)));
}

QString TPortalHotKeys::trigger(QKeyCombination keys) {
    QStringList parts;
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        parts << u"CTRL"_s;
    if (modifiers & Qt::AltModifier)
        parts << u"ALT"_s;
    if (modifiers & Qt::ShiftModifier)
        parts << u"SHIFT"_s;
    if (modifiers & Qt::MetaModifier)
        parts << u"LOGO"_s;
    const Qt::Key key = keys.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        parts << QString(QChar(u'a' + (key - Qt::Key_A)));
    else
        parts << QKeySequence(key).toString(QKeySequence::PortableText);
    return parts.join(u'+');
}

bool TPortalHotKeys::registerHotKey(int id, QKeyCombination keys) {
    m_wanted[id].keys = keys;
    scheduleBind();
    return true;
}

void TPortalHotKeys::unregisterHotKey(int id) {
    if (m_wanted.remove(id))
        scheduleBind();
}

void TPortalHotKeys::describe(int id, const QString& text) {
    m_descriptions[id] = text;
}

QString TPortalHotKeys::assigned() const {
    return m_assigned;
}

void TPortalHotKeys::scheduleBind() {
    // Several changes in a row make one request.
    if (std::exchange(m_bindScheduled, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_bindScheduled = false;
        bind();
    });
}

void TPortalHotKeys::request(const QString& method, QVariantList arguments, const char* slot) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The Request object's path is known ahead: the answer is listened for
    // before the call, so that it cannot come first.
    const QString token = u"velmorand%1"_s.arg(++m_requests);
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString path = kPath + u"/request/"_s + sender + u'/' + token;
    bus.connect(kService, path, u"org.freedesktop.portal.Request"_s, u"Response"_s, this, slot);
    QVariantMap options = arguments.takeLast().toMap();
    options[u"handle_token"_s] = token;
    arguments.append(options);
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError()) {
            std::fprintf(stderr, "velmorand: no global hot keys from the desktop: %s\n",
                         qPrintable(w->error().message()));
            m_creating = false;
        }
    });
}

void TPortalHotKeys::bind() {
    if (m_session.isEmpty()) {
        if (!std::exchange(m_creating, true))
            request(u"CreateSession"_s, {QVariantMap{{u"session_handle_token"_s, u"velmorand"_s}}},
                    SLOT(onSession(uint, QVariantMap)));
        return;
    }
    QList<TShortcut> shortcuts;
    for (auto it = m_wanted.cbegin(); it != m_wanted.cend(); ++it)
        shortcuts.append({shortcutId(it.key()),
                          {{u"description"_s, m_descriptions.value(it.key(), shortcutId(it.key()))},
                           {u"preferred_trigger"_s, trigger(it->keys)}}});
    request(u"BindShortcuts"_s,
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString(), QVariantMap()},
            SLOT(onBound(uint, QVariantMap)));
}

void TPortalHotKeys::onSession(uint response, const QVariantMap& results) {
    m_creating = false;
    if (response != 0) {
        std::fprintf(stderr, "velmorand: the desktop refused global hot keys (%u)\n", response);
        return;
    }
    const QVariant handle = results.value(u"session_handle"_s);
    m_session = handle.canConvert<QDBusObjectPath>() && handle.metaType().id() != QMetaType::QString
                    ? handle.value<QDBusObjectPath>().path()
                    : handle.toString();
    bind();
}

void TPortalHotKeys::onBound(uint response, const QVariantMap& results) {
    if (response != 0)
        return;
    QStringList triggers;
    const auto shortcuts = qdbus_cast<QList<TShortcut>>(results.value(u"shortcuts"_s));
    for (const TShortcut& shortcut : shortcuts) {
        const QString text = shortcut.properties.value(u"trigger_description"_s).toString();
        if (!text.isEmpty())
            triggers.append(text);
    }
    m_assigned = triggers.join(u", "_s);
    emit assignmentChanged();
}

void TPortalHotKeys::onActivated(const QDBusMessage& message) {
    // (session, shortcut, timestamp, options), read as they come.
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    const QVariant session = arguments[0];
    const QString path = session.canConvert<QDBusObjectPath>() &&
                                 session.metaType() == QMetaType::fromType<QDBusObjectPath>()
                             ? session.value<QDBusObjectPath>().path()
                             : session.toString();
    const QString shortcut = arguments[1].toString();
    if (path.isEmpty() || path != m_session)
        return;
    for (auto it = m_wanted.cbegin(); it != m_wanted.cend(); ++it)
        if (shortcutId(it.key()) == shortcut)
            emit activated(it.key());
}
