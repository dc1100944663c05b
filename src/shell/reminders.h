#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

class TProgramContext;
class Tformvelmorand;
class TTrayIkona;

// The one-second timer of the main window: time announcements, the next
// pending diary reminder shown in the tray tip, and the alarm that rings
// when it falls due until the user switches it off.
class TReminders : public QObject {
    Q_OBJECT
public:
    TReminders(TProgramContext& context, Tformvelmorand& main, TTrayIkona& tray);

    // The pending reminder: the earliest armed one of all visible groups.
    struct Pending {
        QString table;
        QString caption;
        qint64 id = 0;
        QString subject;
        QDateTime time;
    };

    void start() { m_timer.start(); }
    bool isRunning() const { return m_timer.isActive(); }

    // One tick: announcements by the settings' mode, and the alarm.
    void TimerTimer();
    // Looks up the pending reminder again and shows it in the tray tip.
    void Najdizaznam();
    // Switches a ringing alarm off; without one it does nothing.
    void Vypnialarm();

    bool alarmActive() const { return m_alarmActive; }
    bool reminderPending() const { return m_reminderPending; }
    const Pending& pending() const { return m_pending; }
    int pendingCount() const { return m_pendingCount; }

private:
    void REsetikony();
    void announce(const QString& hour, const QString& minute);
    void ringAlarm();
    void playGuarded(const std::function<void()>& play);

    TProgramContext& m_context;
    Tformvelmorand& m_main;
    TTrayIkona& m_tray;
    QTimer m_timer;

    Pending m_pending;
    int m_pendingCount = 0;
    bool m_reminderPending = true;
    bool m_alarmActive = false;
    bool m_armed = true;
    // A sound that failed has been reported; no more boxes until one plays.
    bool m_soundFailureShown = false;
};
