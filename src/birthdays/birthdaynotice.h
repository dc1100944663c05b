#pragma once

#include <QDate>
#include <QStringList>

class TProgramContext;
class TSQLiteDatabase;

// Gives the birthdays their index on the place in the year (narodky_poradie),
// when it is missing, so that a day's birthdays are found without reading the
// whole table. A plain index: it changes no table definition, and copies of
// the program that do not know it read the file as before.
void EnsureBirthdayIndex(TSQLiteDatabase& db);

// The names of the people, not in the bin, whose birthday falls on `day`, in
// the file's order. Those born on 29 February are named on 28 February in
// the years that have no 29 February. Any year of birth counts.
QStringList TodaysBirthdays(TSQLiteDatabase& db, QDate day);

// The notice at start: one box naming today's people; nothing when there are
// none.
void Najdinarodky(TProgramContext& context);
