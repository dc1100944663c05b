#pragma once

#include "hotkeys.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QKeyCombination>
#include <QString>
#include <QVariantMap>

// Global hot keys through the desktop portal's GlobalShortcuts interface,
// where X11 grabs do not reach (Wayland). The program asks for its
// combinations; the desktop decides, and may ask the user, which keys
// trigger them. Everything is asynchronous: a registration is kept and bound
// once the portal has a session; without the portal, nothing triggers.
class TPortalHotKeys : public IHotKeys {
    Q_OBJECT
public:
    TPortalHotKeys();
    bool registerHotKey(int id, QKeyCombination keys) override;
    void unregisterHotKey(int id) override;
    void describe(int id, const QString& text) override;
    QString assigned() const override;
    bool byDesktop() const override { return true; }

    // A combination as the portal's preferred trigger: "CTRL+SHIFT+h".
    static QString trigger(QKeyCombination keys);

private slots:
    void onSession(uint response, const QVariantMap& results);
    void onBound(uint response, const QVariantMap& results);
    void onActivated(const QDBusMessage& message);

private:
    void scheduleBind();
    void bind();
    // Calls a portal method whose answer comes as a Request's Response
    // signal, delivered to the slot.
    void request(const QString& method, QVariantList arguments, const char* slot);

    struct Wanted {
        QKeyCombination keys;
        QString description;
    };
    QHash<int, Wanted> m_wanted;
    QHash<int, QString> m_descriptions;
    QString m_session;
    QString m_assigned;
    bool m_creating = false;
    bool m_bindScheduled = false;
    int m_requests = 0;
};
