#include "icalendar.h"

#include "textfile.h"

#include <QBuffer>
#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

struct FreeComponent {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

QString text(const char* value) {
    return value ? QString::fromUtf8(value) : QString();
}

// The system's zone by the name the zone database gives it; none for UTC
// or a zone libical does not know.
icaltimezone* systemZone() {
    const QByteArray id = QTimeZone::systemTimeZoneId();
    if (id.isEmpty() || id == "UTC" || id == "Etc/UTC")
        return nullptr;
    return icaltimezone_get_builtin_timezone(id.constData());
}

// A time of the file in local time.
QDateTime localTime(icaltimetype time, icalproperty* property) {
    const QDate day(time.year, time.month, time.day);
    if (time.is_date)
        return QDateTime(day, QTime(0, 0));
    const icaltimezone* zone = icaltime_is_utc(time) ? icaltimezone_get_utc_timezone() : time.zone;
    if (!zone && property) {
        // A zone named but not defined in the file: the zone database's.
        if (icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER))
            zone = icaltimezone_get_builtin_timezone(icalparameter_get_tzid(tzid));
    }
    if (!zone)
        return QDateTime(day, QTime(time.hour, time.minute, time.second));
    return QDateTime::fromSecsSinceEpoch(
               qint64(icaltime_as_timet_with_zone(time, const_cast<icaltimezone*>(zone))))
        .toLocalTime();
}

// The first occurrence of a series at or after `now`; its last when the
// series has ended. Null when the series cannot be followed to `now` within
// `steps.each`, nor within what is left of `steps.all`, which it lessens.
icaltimetype nextOccurrence(icalproperty* rule, icaltimetype start, const QDateTime& now,
                            TSeriesSteps& steps) {
    const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
    icalrecur_iterator* iterator = icalrecur_iterator_new(recurrence, start);
    if (!iterator)
        return start;
    const icaltimetype from =
        icaltime_from_timet_with_zone(time_t(now.toSecsSinceEpoch()), 0, start.zone);
    icaltimetype found = start;
    // Jumping ahead is refused for a rule with a COUNT: then step, to its
    // end or to `now`.
    if (!icalrecur_iterator_set_start(iterator, from)) {
        for (int step = 0;; ++step) {
            if (step == steps.each || steps.all-- <= 0) {
                found = icaltime_null_time();
                break;
            }
            const icaltimetype next = icalrecur_iterator_next(iterator);
            if (icaltime_is_null_time(next))
                break;
            found = next;
            if (icaltime_compare(next, from) >= 0)
                break;
        }
    } else if (const icaltimetype next = icalrecur_iterator_next(iterator);
               !icaltime_is_null_time(next)) {
        found = next;
    }
    icalrecur_iterator_free(iterator);
    if (!icaltime_is_null_time(found))
        found.zone = start.zone;
    return found;
}

void readEvents(icalcomponent* calendar, const QDateTime& now, TSeriesSteps& steps,
                TCalendarContents& contents) {
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        if (kind == ICAL_VTIMEZONE_COMPONENT)
            continue;
        if (kind != ICAL_VEVENT_COMPONENT) {
            ++contents.skipped[text(icalcomponent_kind_to_string(kind))];
            continue;
        }
        icalproperty* start = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        icaltimetype time = icalcomponent_get_dtstart(c);
        if (!start || icaltime_is_null_time(time) || !icaltime_is_valid_time(time)) {
            ++contents.skipped[u"VEVENT (DTSTART)"_s];
            continue;
        }
        TDiaryEvent event;
        if (icalproperty* rule = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY)) {
            time = nextOccurrence(rule, time, now, steps);
            // A series too long to follow is named, not stored at a time
            // long past.
            if (icaltime_is_null_time(time)) {
                ++contents.skipped[u"VEVENT (RRULE)"_s];
                continue;
            }
            event.recurring = true;
            ++contents.recurring;
        }
        event.start = localTime(time, start);
        // A diary's moments: from 1900, when the zones' rules begin, to the
        // last year of four digits (a wild time went further either way).
        const int year = event.start.date().year();
        if (!event.start.isValid() || year < 1900 || year > 9999) {
            ++contents.skipped[u"VEVENT (DTSTART)"_s];
            continue;
        }
        event.subject = text(icalcomponent_get_summary(c));
        event.text = text(icalcomponent_get_description(c));
        event.alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT) != nullptr;
        contents.events.append(event);
    }
}

QByteArray written(icalcomponent* component) {
    char* bytes = icalcomponent_as_ical_string_r(component);
    QByteArray out(bytes);
    icalmemory_free_buffer(bytes);
    return out;
}

} // namespace

TICalendarReader::TICalendarReader(const QDateTime& now, TSeriesSteps steps)
    : m_parser(icalparser_new()), m_now(now), m_steps(steps) {
    // The library's errors are said in its results, never by ending the program.
    icalerror_set_errors_are_fatal(0);
}

TICalendarReader::~TICalendarReader() {
    icalparser_free(m_parser);
}

void TICalendarReader::add(QByteArrayView line) {
    if (!std::exchange(m_started, true) && line.startsWith(kUtf8Bom))
        line = line.sliced(kUtf8Bom.size());
    // A line that begins with a blank goes on the one before.
    if (m_holding && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
        m_held += line.sliced(1);
        return;
    }
    parse();
    m_held.truncate(0);
    m_held += line;
    m_holding = true;
}

void TICalendarReader::parse() {
    if (!std::exchange(m_holding, false) || m_held.isEmpty())
        return;
    // A top-level component comes back once its END is read; several
    // calendars may follow one another.
    Component done(icalparser_add_line(m_parser, m_held.data()));
    if (done && icalcomponent_isa(done.get()) == ICAL_VCALENDAR_COMPONENT) {
        readEvents(done.get(), m_now, m_steps, m_contents);
        m_any = true;
    }
}

TCalendarContents TICalendarReader::finish() {
    parse();
    if (!m_any)
        throw TFormatError{TFormatError::Fault::NoCalendar, 1};
    return std::move(m_contents);
}

TCalendarContents ReadICalendar(const QByteArray& bytes, const QDateTime& now, TSeriesSteps steps) {
    QByteArray data = bytes;
    QBuffer file(&data);
    file.open(QIODevice::ReadOnly);
    TLineReader lines(file);
    TICalendarReader reader(now, steps);
    for (QByteArrayView line; lines.next(line);)
        reader.add(line);
    return reader.finish();
}

QByteArray ICalendarStart() {
    QByteArray start = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velmorand//Diary//SK\r\n"
                       "CALSCALE:GREGORIAN\r\n";
    if (icaltimezone* zone = systemZone())
        start += written(icaltimezone_get_component(zone));
    return start;
}

QByteArray ICalendarEvent(const TDiaryEvent& event, const QString& uid, const QDateTime& stamp) {
    Component vevent(icalcomponent_new_vevent());
    icalcomponent_add_property(vevent.get(), icalproperty_new_uid(uid.toUtf8().constData()));
    icalcomponent_add_property(
        vevent.get(), icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                          time_t(stamp.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone())));
    icalproperty* start = nullptr;
    if (icaltimezone* zone = systemZone()) {
        const QDateTime local = event.start;
        icaltimetype time = icaltime_null_time();
        time.year = local.date().year();
        time.month = local.date().month();
        time.day = local.date().day();
        time.hour = local.time().hour();
        time.minute = local.time().minute();
        time.second = local.time().second();
        time.zone = zone;
        start = icalproperty_new_dtstart(time);
        icalproperty_add_parameter(start, icalparameter_new_tzid(icaltimezone_get_tzid(zone)));
    } else {
        start = icalproperty_new_dtstart(icaltime_from_timet_with_zone(
            time_t(event.start.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone()));
    }
    icalcomponent_add_property(vevent.get(), start);
    icalcomponent_add_property(vevent.get(),
                               icalproperty_new_summary(event.subject.toUtf8().constData()));
    if (!event.text.isEmpty())
        icalcomponent_add_property(vevent.get(),
                                   icalproperty_new_description(event.text.toUtf8().constData()));
    if (event.alarm) {
        icalcomponent* alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(alarm, icalproperty_new_trigger(icaltriggertype_from_int(0)));
        icalcomponent_add_property(
            alarm, icalproperty_new_description(event.subject.toUtf8().constData()));
        icalcomponent_add_component(vevent.get(), alarm);
    }
    return written(vevent.get());
}

QByteArray ICalendarEnd() {
    return "END:VCALENDAR\r\n";
}
