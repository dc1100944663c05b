#include "birthdaynotice.h"

#include "context/programcontext.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "storage/datetimetext.h"
#include "storage/sqlite.h"

using namespace Qt::Literals::StringLiterals;

void EnsureBirthdayIndex(TSQLiteDatabase& db) {
    if (db.Query(u"SELECT 1 FROM sqlite_master WHERE type='index' AND name='narodky_poradie'"_s)
            .Rows() == 0)
        db.Execute(u"CREATE INDEX IF NOT EXISTS narodky_poradie ON narodky(poradie)"_s);
}

QStringList TodaysBirthdays(TSQLiteDatabase& db, QDate day) {
    // The place in the year is the day in the year 2000 at midnight, stored
    // as "yyyy-mm-dd hh:nn:ss".
    DisplayPatterns patterns;
    const auto key = [&](QDate d) {
        return SqlDateTimeText(Moment(QDate(2000, d.month(), d.day())), patterns);
    };
    // On 28 February of a common year, those born on 29 February too.
    const bool leapDay = day.month() == 2 && day.day() == 28 && !QDate::isLeapYear(day.year());
    const QString other = key(leapDay ? QDate(2000, 2, 29) : day);
    QStringList names;
    for (TSQLiteTable rows = db.Query(
             u"SELECT meno FROM narodky WHERE viditelnost=1 AND (poradie=?1 OR poradie=?2)"_s,
             {key(day), other});
         !rows.AtEnd(); rows.Advance())
        names.append(rows.CellTextOrEmpty(0));
    return names;
}

void Najdinarodky(TProgramContext& context) {
    QStringList names;
    {
        TSQLiteDatabase db(context.modules.narodky.file);
        try {
            EnsureBirthdayIndex(db);
        } catch (const ESQLiteException&) {
            // A file that cannot be written now is read without the index.
        }
        names = TodaysBirthdays(db, context.clock.now().date());
    }
    if (names.isEmpty())
        return;
    const TLanguageTable& s = context.strings;
    const QString text = names.size() == 1
                             ? s[Str::HasBirthdayToday] + u' ' + names.first()
                             : s[Str::HaveBirthdayToday] + u":\n"_s + names.join(u'\n');
    context.dialogs.messageBox(nullptr, s[Str::Warning], text, IDialogs::Icon::Information);
}
