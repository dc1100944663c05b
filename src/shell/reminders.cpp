#include "reminders.h"

#include "context/guard.h"
#include "context/programcontext.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/sound.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kMaxGroups = 1000;

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
    connect(&m_timer, &QTimer::timeout, this,
            [this] { Guarded(m_context.dialogs, [this] { TimerTimer(); }); });
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
    if (now > m_pending.time && m_reminderPending)
        ringAlarm();
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
    emit tipChanged(m_context.strings[Str::Reminder] + u": "_s + m_pending.subject);
    // One alarm sound at a time: a tick while it still sounds adds none.
    if (!m_context.sound.isPlaying(u"sounds/avizo.wav"_s))
        playGuarded([&] { m_context.sound.play(u"sounds/avizo.wav"_s, 1); });
}

void TReminders::playGuarded(const std::function<void()>& play) {
    try {
        play();
        m_soundFailureShown = false;
    } catch (const ESoundError& e) {
        // Once, not at every tick: again only after a sound has played.
        if (!m_soundFailureShown) {
            m_soundFailureShown = true;
            m_context.dialogs.errorBox(e.message());
        }
    }
}

void TReminders::Najdizaznam() {
    m_pendingCount = 0;
    TSQLiteDatabase db(m_context.modules.diar.file);
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
        // Only the earliest armed entry of each group matters.
        TSQLiteTable table =
            db.Query(u"SELECT id, predmet, avizo FROM "_s + SqlName(name) +
                     u" WHERE (viditelnost=1) AND (alarm=1) ORDER BY avizo LIMIT 1"_s);
        if (table.Rows() == 0)
            continue;
        ++m_pendingCount;
        // A damaged moment reads as the zero moment: the reminder is overdue
        // and rings at once, so that the user sees it and can switch it off.
        const QDateTime time = ParseDateTimeByFormat(
            u"yyyy-mm-dd hh:nn:ss"_s, table.CellTextOrEmpty(table.ColumnIndex(u"avizo"_s)));
        if (m_pendingCount == 1 || time < m_pending.time)
            m_pending = {name, caption, table.CellInt64(table.ColumnIndex(u"id"_s)),
                         table.CellTextOrEmpty(table.ColumnIndex(u"predmet"_s)), time};
    }
    REsetikony();
}

void TReminders::REsetikony() {
    if (m_pendingCount == 0) {
        emit tipChanged(m_context.strings[Str::NoReminder]);
        m_reminderPending = false;
    } else {
        emit tipChanged(m_context.strings[Str::Reminder] + u": "_s +
                        m_context.patterns.dateTime(m_pending.time));
        m_reminderPending = true;
    }
}

void TReminders::Vypnialarm() {
    if (!m_alarmActive)
        return;
    // The entry's mark is cleared first: when that fails, nothing has
    // changed and the alarm goes on ringing.
    {
        TSQLiteDatabase db(m_context.modules.diar.file);
        db.Execute(u"UPDATE "_s + SqlName(m_pending.table) + u" SET alarm='0' WHERE id="_s +
                   SqlText(QString::number(m_pending.id)) + u";"_s);
    }
    TModuleState& diary = m_context.modules.diar;
    diary.table = m_pending.table;
    diary.caption = m_pending.caption;
    m_reminderPending = false;
    // The diary opens next on the reminder's group.
    std::exception_ptr viewError;
    try {
        LineFile::write(diary.view, {diary.table, diary.caption});
    } catch (const EFileError&) {
        viewError = std::current_exception();
    }
    if (m_context.settings.oknozdiara) {
        m_timer.stop();
        m_context.dialogs.messageBox(nullptr, m_context.strings[Str::ReminderFromDiary],
                                     m_pending.subject, IDialogs::Icon::Information);
        if (m_context.host->isProgramHidden())
            m_context.host->Skryvsetko();
        m_timer.start();
    }
    emit alarmRinging(false);
    m_alarmActive = false;
    Najdizaznam();
    if (viewError)
        std::rethrow_exception(viewError);
}
