#pragma once

#include "formaterror.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

struct icalparser_impl;

// A diary entry as a calendar event: its moment in local time, whether it
// rings, its subject and text.
struct TDiaryEvent {
    QDateTime start; // local time
    bool alarm = false;
    QString subject, text;
    bool recurring = false; // read: the next occurrence of a series
};

// What a calendar file held: its events in the file's order, and what was
// not taken, by name ("VTODO", an event without a start), with how many.
struct TCalendarContents {
    QList<TDiaryEvent> events;
    QMap<QString, int> skipped;
    int recurring = 0;
};

// How far a file's series with a count are followed, occurrence by
// occurrence, to find their next time: each, and all of a file's together
// (each step may cost the recurrence library microseconds; a series of days
// since 1990 takes 13,000 of them).
struct TSeriesSteps {
    int each = 100'000;
    qint64 all = 500'000;
};

// Reads the events of an iCalendar file (RFC 5545) that may start with a
// UTF-8 byte-order mark: times with a time zone are taken into local time,
// floating times and times of an unknown zone as they stand, a whole day at
// 00:00; a recurring event as its first occurrence at or after `now` (its
// last when the series has ended). A series with a count that cannot be
// followed to `now` within `steps` is skipped as "VEVENT (RRULE)". An
// alarm of any kind makes the entry ring. Throws TFormatError (NoCalendar,
// at line 1) for a file with no calendar.
TCalendarContents ReadICalendar(const QByteArray& bytes, const QDateTime& now,
                                TSeriesSteps steps = {});

// The same read line by line, as TLineReader gives a file's lines, holding
// the calendar being read but not the file.
class TICalendarReader {
public:
    explicit TICalendarReader(const QDateTime& now, TSeriesSteps steps = {});
    ~TICalendarReader();
    TICalendarReader(const TICalendarReader&) = delete;
    TICalendarReader& operator=(const TICalendarReader&) = delete;

    void add(QByteArrayView line);
    // What the file held, once all its lines were added.
    TCalendarContents finish();

private:
    // The line held, unfolded, to the parser.
    void parse();

    icalparser_impl* m_parser;
    QByteArray m_held;
    bool m_holding = false;
    bool m_started = false;
    bool m_any = false;
    QDateTime m_now;
    TSeriesSteps m_steps; // what is left of them
    TCalendarContents m_contents;
};

// The start of a calendar file in the system's time zone (with its
// definition where one is known), an event, and the end. `uid` stays the
// same for an entry however often it is exported.
QByteArray ICalendarStart();
QByteArray ICalendarEvent(const TDiaryEvent& event, const QString& uid, const QDateTime& stamp);
QByteArray ICalendarEnd();
