#include "reminders.h"

#include "context/guard.h"
#include "context/programcontext.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/notifications.h"
#include "platform/sound.h"
#include "platform/trace.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kMaxGroups = 1000;
const QString kAlarmSound = QStringLiteral("sounds/avizo.wav");

// "13" to "23" become "1" to "11", "00" becomes "12"; the rest stays.
int dialHour(const QString& hour) {
    const int value = hour.toInt();
    if (hour == u"00")
        return 12;
    return value > 12 ? value - 12 : value;
}

} // namespace

TReminders::TReminders(TProgramContext& context) : m_context(context) {
    m_timer.setObjectName(u"Timer"_s);
    m_timer.setInterval(1000);
    ConnectGuarded(m_context.dialogs, &m_timer, &QTimer::timeout, this, [this] { TimerTimer(); });
    INotifications& notifications = m_context.notifications;
    ConnectGuarded(m_context.dialogs, &notifications, &INotifications::actionInvoked, this,
                   [this](const QString& key) { notificationAction(key); });
    // Closing the notification is no answer: the alarm rings on, and the
    // tray and the hot key still switch it off.
    connect(&notifications, &INotifications::dismissed, this,
            [] { Trace(u"notification dismissed"_s); });
    connect(&notifications, &INotifications::unavailable, this,
            [] { Trace(u"notification unavailable"_s); });
}

void TReminders::TimerTimer() {
    const QDateTime now = m_context.clock.now();
    const QStringList parts = m_context.patterns.time(now).split(u':');
    const QString hour = parts.value(0);
    const QString minute = parts.value(1);
    if (minute == u"14" || minute == u"29" || minute == u"44" || minute == u"59")
        m_armed = true;
    if ((m_context.settings.mode > 0 && minute == u"00") || minute == u"15" || minute == u"30" ||
        minute == u"45")
        announce(hour, minute);
    endSnoozes(now);
    if (m_alarmActive) {
        // It rings until switched off, or until its entry no longer rings.
        if (stillRings())
            ringAlarm();
        else
            silence();
    } else if (now > m_pending.time && m_reminderPending) {
        m_ringing = m_pending;
        ringAlarm();
        startRinging();
    }
}

void TReminders::startRinging() {
    // What the notification says: the moment, the subject, the text's start.
    QString& text = m_ringingText;
    text.clear();
    try {
        TSQLiteDatabase db(m_context.modules.diar.file);
        const TSQLiteTable entry = db.Query(u"SELECT substr(obsah,1,2000) FROM "_s +
                                                SqlName(m_ringing.table) + u" WHERE id=?1"_s,
                                            {m_ringing.id});
        if (entry.Rows() > 0)
            text = entry.CellTextOrEmpty(0);
    } catch (const ESQLiteException&) {
        // The notification says what the search found.
    }
    QString body = m_context.patterns.dateTime(m_ringing.time);
    if (const QString start = IDialogs::Excerpt(text.simplified(), 200, 1); !start.isEmpty())
        body += u'\n' + start;
    const TLanguageTable& s = m_context.strings;
    m_context.notifications.show(m_ringing.subject.isEmpty() ? s[Str::Reminder] : m_ringing.subject,
                                 body,
                                 {{u"off"_s, s[Str::NotifyOff]},
                                  {u"snooze"_s, s[Str::NotifySnooze]},
                                  {u"open"_s, s[Str::NotifyOpen]}});
    Trace(u"notification: "_s + m_ringing.subject);
}

void TReminders::notificationAction(const QString& key) {
    Trace(u"notification action: "_s + key);
    if (key == u"off")
        Vypnialarm();
    else if (key == u"snooze")
        snooze();
    else if (key == u"open" && m_alarmActive)
        emit openRequested(m_ringing);
}

void TReminders::snooze() {
    if (!m_alarmActive)
        return;
    m_context.sound.stop(kAlarmSound);
    m_context.notifications.close();
    m_alarmActive = false;
    emit alarmRinging(false);
    m_snoozed.append(
        {m_ringing.table, m_ringing.id, m_context.clock.now().addSecs(kSnoozeMinutes * 60)});
    Najdizaznam();
}

void TReminders::endSnoozes(const QDateTime& now) {
    if (m_snoozed.removeIf([&](const Snoozed& s) { return s.until <= now; }) > 0)
        Najdizaznam();
}

bool TReminders::stillRings() {
    try {
        TSQLiteDatabase db(m_context.modules.diar.file);
        const TSQLiteTable entry =
            db.Query(u"SELECT avizo FROM "_s + SqlName(m_ringing.table) + u" WHERE id="_s +
                     QString::number(m_ringing.id) + u" AND viditelnost=1 AND alarm=1"_s);
        if (entry.Rows() == 0)
            return false;
        const QString moment = entry.CellTextOrEmpty(0);
        if (moment == m_ringing.moment)
            return true;
        // Moved later, it rings again when its new moment comes; moved to
        // another past moment, it rings on as it is now.
        if (ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, moment) > m_context.clock.now())
            return false;
        m_ringing.moment = moment;
        return true;
    } catch (const ESQLiteException& e) {
        // A file that cannot be read now does not silence the alarm.
        if (e.fault() == EFault::MissingPart)
            return false;
        return true;
    }
}

void TReminders::silence() {
    m_context.sound.stop(kAlarmSound);
    m_context.notifications.close();
    m_alarmActive = false;
    emit alarmRinging(false);
    Najdizaznam();
}

void TReminders::announce(const QString& hour, const QString& minute) {
    const int mode = m_context.settings.mode;
    QList<TSound> sounds;
    if (minute == u"00" && m_armed)
        sounds = {{u"sounds/hour.wav"_s, 1}, {u"sounds/gong1.wav"_s, dialHour(hour)}};
    else if (mode >= 2 && m_armed && minute == u"30")
        sounds = {{u"sounds/gong2.wav"_s, 2}};
    else if (mode == 3 && m_armed && minute == u"15")
        sounds = {{u"sounds/gong2.wav"_s, 1}};
    else if (mode == 3 && m_armed && minute == u"45")
        sounds = {{u"sounds/gong2.wav"_s, 3}};
    if (sounds.isEmpty())
        return;
    // A sound that cannot be played leaves the announcement armed, so it is
    // tried again at the next tick of the minute.
    playGuarded([&] {
        m_context.sound.play(sounds);
        m_armed = false;
    });
}

void TReminders::ringAlarm() {
    m_alarmActive = true;
    emit alarmRinging(true);
    setTip(m_context.strings[Str::Reminder] + u": "_s + m_ringing.subject);
    // One alarm sound at a time: a tick while it still sounds adds none.
    if (!m_context.sound.isPlaying(kAlarmSound))
        playGuarded([&] { m_context.sound.play(kAlarmSound, 1); });
}

void TReminders::playGuarded(const std::function<void()>& play) {
    try {
        play();
        m_soundFailureShown = false;
        if (std::exchange(m_noSoundDevice, false))
            setTip(m_tip);
    } catch (const ENoSoundDevice&) {
        noSoundDevice();
    } catch (const ESoundError& e) {
        // Once, not at every tick: again only after a sound has played.
        if (!m_soundFailureShown) {
            m_soundFailureShown = true;
            m_context.dialogs.errorBox(e);
        }
    }
}

void TReminders::noSoundDevice() {
    if (m_noSoundDevice)
        return;
    m_noSoundDevice = true;
    std::fputs("velmorand: no sound device: the alarm is silent\n", stderr);
    setTip(m_tip);
}

void TReminders::setTip(const QString& tip) {
    m_tip = tip;
    emit tipChanged(m_noSoundDevice ? m_context.strings[Str::NoSound] + u" \u2013 "_s + tip : tip);
}

void TReminders::Najdizaznam() {
    // Nothing is pending until the search has found it.
    m_pendingCount = 0;
    m_pending = Pending();
    m_reminderPending = false;
    const QString& file = m_context.modules.diar.file;
    QStringList failures;
    try {
        TSQLiteDatabase db(file);
        try {
            EnsureDiaryIndexes(db);
        } catch (const ESQLiteException&) {
            // A file that cannot be written now is searched without them.
        }
        if (const QByteArray stamp = DatabaseStamp(file);
            stamp.isEmpty() || stamp != m_cleanStamp) {
            m_clean.clear();
            m_cleanStamp = stamp;
        }
        QList<std::pair<QString, QString>> groups;
        {
            TSQLiteTable table = db.Query(u"SELECT * FROM tables where viditelnost=1"_s);
            if (table.Rows() > 0) {
                const int name = table.ColumnIndex(u"nametable"_s);
                const int caption = table.ColumnIndex(u"captiontable"_s);
                for (; !table.AtEnd() && groups.size() < kMaxGroups; table.Advance())
                    groups.append({table.CellTextOrEmpty(name), table.CellTextOrEmpty(caption)});
            }
        }
        for (const auto& [name, caption] : groups) {
            try {
                findInGroup(db, name, caption);
            } catch (const ESQLiteException& e) {
                // A group that cannot be read is passed over; the others ring.
                failures.append(e.message());
            }
        }
    } catch (const ESQLiteException& e) {
        failures.append(e.message());
    }
    REsetikony();
    if (failures.isEmpty()) {
        m_searchFailureSaid = false;
    } else if (!m_searchFailureSaid) {
        // Once, until a search succeeds again.
        m_searchFailureSaid = true;
        for (const QString& failure : std::as_const(failures))
            std::fprintf(stderr, "velmorand: reminder search: %s\n", qPrintable(failure));
        m_context.dialogs.errorBox(m_context.strings[Str::ReminderSearchFailed].arg(file));
    }
}

void TReminders::findInGroup(TSQLiteDatabase& db, const QString& name, const QString& caption) {
    // Only the earliest armed entry of each group matters; one whose alarm
    // was switched off without its mark cleared stays quiet for this run.
    // A snoozed one is quiet until its time.
    QString silenced;
    for (const auto& [table, id] : std::as_const(m_silenced))
        if (table == name)
            silenced += u" AND (id<>"_s + QString::number(id) + u')';
    for (const Snoozed& snoozed : std::as_const(m_snoozed))
        if (snoozed.table == name)
            silenced += u" AND (id<>"_s + QString::number(snoozed.id) + u')';
    const QString armed = u"SELECT id, predmet, avizo FROM "_s + SqlName(name) +
                          u" WHERE (viditelnost=1) AND (alarm=1)"_s + silenced;
    // The group's earliest armed entry by the moment it names.
    std::optional<Pending> earliest;
    const auto consider = [&](const TSQLiteRow& row) {
        const QString moment = row.CellTextOrEmpty(2);
        const QDateTime time = ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, moment);
        if (!earliest || time < earliest->time)
            earliest =
                Pending{name, caption, row.CellInt64(0), row.CellTextOrEmpty(1), time, moment};
    };
    // Moments in the stored form sort by their text. Any other text is read
    // as the program reads moments: a damaged one reads as the zero moment,
    // so the reminder is overdue and rings at once, wherever its text sorts;
    // switching it off clears its mark.
    if (!m_clean.contains(name) &&
        db.QueryEach(armed + u" AND (avizo IS NULL OR datetime(avizo) IS NOT avizo)"_s, consider) ==
            0)
        m_clean.insert(name);
    db.QueryEach(armed + u" ORDER BY avizo LIMIT 1"_s, consider);
    if (!earliest)
        return;
    ++m_pendingCount;
    if (m_pendingCount == 1 || earliest->time < m_pending.time)
        m_pending = std::move(*earliest);
}

void TReminders::REsetikony() {
    if (m_pendingCount == 0) {
        setTip(m_context.strings[Str::NoReminder]);
        m_reminderPending = false;
    } else {
        setTip(m_context.strings[Str::Reminder] + u": "_s +
               m_context.patterns.dateTime(m_pending.time));
        m_reminderPending = true;
    }
}

void TReminders::Vypnialarm() {
    if (!m_alarmActive)
        return;
    // The alarm is silenced whatever happens next.
    m_context.sound.stop(kAlarmSound);
    m_context.notifications.close();
    emit alarmRinging(false);
    m_alarmActive = false;
    m_reminderPending = false;
    const Pending rang = m_ringing;
    try {
        // That entry only, as it was when it started ringing.
        TSQLiteDatabase db(m_context.modules.diar.file);
        db.Execute(u"UPDATE "_s + SqlName(rang.table) +
                       u" SET alarm='0' WHERE id=?1 AND ifnull(avizo,'')=?2"_s,
                   {rang.id, rang.moment});
    } catch (const ESQLiteException& e) {
        // The entry keeps its mark in the file; it stays quiet for this run.
        m_silenced.append({rang.table, rang.id});
        std::fprintf(stderr, "velmorand: the alarm mark was not cleared: %s\n",
                     qPrintable(e.message()));
        m_context.dialogs.errorBox(
            m_context.strings[Str::AlarmNotCleared].arg(m_context.modules.diar.file));
    }
    TModuleState& diary = m_context.modules.diar;
    diary.table = rang.table;
    diary.caption = rang.caption;
    // The diary opens next on the reminder's group.
    std::exception_ptr viewError;
    try {
        LineFile::write(diary.view, {diary.table, diary.caption});
    } catch (const EFileError&) {
        viewError = std::current_exception();
    }
    if (m_context.settings.oknozdiara) {
        m_timer.stop();
        // The subject, its moment and its text.
        QString details = rang.subject + u'\n' + m_context.patterns.dateTime(rang.time);
        if (!m_ringingText.isEmpty())
            details += u"\n\n"_s + m_ringingText;
        m_context.dialogs.messageBox(nullptr, m_context.strings[Str::ReminderFromDiary], details,
                                     IDialogs::Icon::Information);
        if (m_context.host->isProgramHidden())
            m_context.host->Skryvsetko();
        m_timer.start();
    }
    Najdizaznam();
    if (viewError)
        std::rethrow_exception(viewError);
}
