#pragma once

#include "context/windowhost.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

class TProgramContext;
class TSQLiteDatabase;

// The program's one-second timer: time announcements, the next pending
// diary reminder shown in the tray tip, and the alarm that rings when it
// falls due until the user switches it off. It tells the tray what to show
// through its signals.
class TReminders : public QObject, public IReminders {
    Q_OBJECT
public:
    explicit TReminders(TProgramContext& context);

    // The pending reminder: the earliest armed one of all visible groups.
    struct Pending {
        QString table;
        QString caption;
        qint64 id = 0;
        QString subject;
        QDateTime time;
        // The moment as stored, which tells the entry from one that took its id.
        QString moment;
    };

    void start() { m_timer.start(); }
    bool isRunning() const { return m_timer.isActive(); }

    // One tick: announcements by the settings' mode, and the alarm.
    void TimerTimer();
    // Looks up the pending reminder again and shows it in the tray tip.
    void Najdizaznam() override;
    // Switches a ringing alarm off; without one it does nothing.
    void Vypnialarm();
    // Silences a ringing alarm for the snooze time: its entry stays armed in
    // the file and rings again then (or at the next start). Kept in memory.
    void snooze();
    static constexpr int kSnoozeMinutes = 10;

    // There is no audio output: said once, on stderr and in the tray tip,
    // until a sound plays again.
    void noSoundDevice();

    bool alarmActive() const { return m_alarmActive; }
    bool reminderPending() const { return m_reminderPending; }
    const Pending& pending() const { return m_pending; }
    // The entry that rings, remembered when it started.
    const Pending& ringing() const { return m_ringing; }
    int pendingCount() const { return m_pendingCount; }

signals:
    // The tray tip to show.
    void tipChanged(const QString& tip);
    // The alarm rings (true) or is switched off: the tray offers to switch it off.
    void alarmRinging(bool ringing);
    // The user asked to see the ringing entry (the notification's "open").
    void openRequested(const Pending& entry);

private:
    void REsetikony();
    void findInGroup(TSQLiteDatabase& db, const QString& name, const QString& caption);
    void announce(const QString& hour, const QString& minute);
    void ringAlarm();
    // The alarm starts ringing for the pending entry: the notification.
    void startRinging();
    void notificationAction(const QString& key);
    // The entries snoozed whose time has come are looked at again.
    void endSnoozes(const QDateTime& now);
    // Whether the ringing entry is still there, shown, armed and due.
    bool stillRings();
    // The alarm stops: by the user, or because its entry no longer rings.
    void silence();
    void playGuarded(const std::function<void()>& play);
    // Shows the tip, with the word that no sound is heard while so.
    void setTip(const QString& tip);

    TProgramContext& m_context;
    QTimer m_timer;

    Pending m_pending;
    Pending m_ringing;
    int m_pendingCount = 0;
    bool m_reminderPending = true;
    bool m_alarmActive = false;
    bool m_armed = true;
    // A sound that failed has been reported; no more boxes until one plays.
    bool m_soundFailureShown = false;
    // The tip as last set, and whether sounds have no output.
    QString m_tip;
    bool m_noSoundDevice = false;
    // A search that failed has been reported; no more until one succeeds.
    bool m_searchFailureSaid = false;
    // Reminders switched off whose mark could not be cleared in the file.
    QList<std::pair<QString, qint64>> m_silenced;
    // The start of the ringing entry's text, for the notification and the box.
    QString m_ringingText;
    // Entries snoozed, quiet until their time.
    struct Snoozed {
        QString table;
        qint64 id;
        QDateTime until;
    };
    QList<Snoozed> m_snoozed;
    // Groups known to hold no armed entry with a damaged moment, while the
    // file keeps the stamp they were looked at in.
    QSet<QString> m_clean;
    QByteArray m_cleanStamp;
};
