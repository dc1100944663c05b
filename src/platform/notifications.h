#pragma once

#include <QList>
#include <QObject>
#include <QString>

// The desktop's notifications, for a notification that stays on the screen
// until it is answered: a summary, a body and buttons (actions). The caller
// has one at a time; showing another replaces it.
class INotifications : public QObject {
    Q_OBJECT
public:
    struct Action {
        QString key;
        QString label;
    };
    // Shows the notification; `unavailable` follows when no notification
    // service takes it.
    virtual void show(const QString& summary, const QString& body,
                      const QList<Action>& actions) = 0;
    // Takes it off the screen; nothing when none is shown.
    virtual void close() = 0;

signals:
    // The user chose an action; the notification stays until closed.
    void actionInvoked(const QString& key);
    // The user (or the desktop) closed it without an action.
    void dismissed();
    // No notification service answered.
    void unavailable();
};

// The freedesktop notification service (org.freedesktop.Notifications) on
// the session bus: critical urgency, no time limit, resident (an action does
// not close it). Calls never wait for the service.
class TDBusNotifications : public INotifications {
    Q_OBJECT
public:
    TDBusNotifications();
    ~TDBusNotifications() override;
    void show(const QString& summary, const QString& body, const QList<Action>& actions) override;
    void close() override;

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    // The notification's id once the service has said it; 0 before and after.
    uint m_id = 0;
    // The service reads the body as markup: texts are escaped.
    bool m_markup = false;
    // Calls whose answer has not come yet, and whether the notification
    // shown by the latest must go as soon as its id is known.
    int m_waiting = 0;
    bool m_closeWhenKnown = false;
};
