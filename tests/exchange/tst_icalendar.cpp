// Calendar files of other programs read into diary entries: times in any
// zone into local time, whole days, alarms, series, what is no event; the
// diary's entries written and read back.
#include "exchange/icalendar.h"
#include "exchange/textfile.h"
#include "testcore.h"

#include <QTimeZone>

using namespace Qt::Literals::StringLiterals;

namespace {

// The zone the diary's users live in, so that times move when taken local.
const bool kZone = qputenv("TZ", "Europe/Bratislava");

QByteArray calendar(const QByteArray& inside) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + inside +
           "END:VCALENDAR\r\n";
}

QByteArray vevent(const QByteArray& lines) {
    return "BEGIN:VEVENT\r\nUID:x\r\nDTSTAMP:20261201T000000Z\r\n" + lines + "END:VEVENT\r\n";
}

const QDateTime kNow(QDate(2026, 12, 9), QTime(12, 0));

} // namespace

class TestICalendar : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(kZone); }

    void readsEvents_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<bool>("alarm");
        QTest::addColumn<bool>("recurring");
        QTest::newRow("UTC") << QByteArray("DTSTART:20261211T083000Z\r\n")
                             << QDateTime(QDate(2026, 12, 11), QTime(9, 30)) << false << false;
        QTest::newRow("floating, with an alarm")
            << QByteArray("DTSTART:20261211T083000\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\n"
                          "TRIGGER:-PT15M\r\nEND:VALARM\r\n")
            << QDateTime(QDate(2026, 12, 11), QTime(8, 30)) << true << false;
        QTest::newRow("a whole day")
            << QByteArray("DTSTART;VALUE=DATE:20261224\r\n")
            << QDateTime(QDate(2026, 12, 24), QTime(0, 0)) << false << false;
        QTest::newRow("a zone of the zone database, not defined in the file")
            << QByteArray("DTSTART;TZID=America/New_York:20260701T080000\r\n")
            << QDateTime(QDate(2026, 7, 1), QTime(14, 0)) << false << false;
        QTest::newRow("an unknown zone: as it stands")
            << QByteArray("DTSTART;TZID=Mars/Olympus:20261211T083000\r\n")
            << QDateTime(QDate(2026, 12, 11), QTime(8, 30)) << false << false;
        QTest::newRow("a weekly series without end: its next time")
            << QByteArray("DTSTART:20200106T070000Z\r\nRRULE:FREQ=WEEKLY\r\n")
            << QDateTime(QDate(2026, 12, 14), QTime(8, 0)) << false << true;
        QTest::newRow("a series with a count, ended: its last time")
            << QByteArray("DTSTART:20200106T070000Z\r\nRRULE:FREQ=DAILY;COUNT=3\r\n")
            << QDateTime(QDate(2020, 1, 8), QTime(8, 0)) << false << true;
    }
    void readsEvents() {
        QFETCH(QByteArray, lines);
        QFETCH(QDateTime, start);
        QFETCH(bool, alarm);
        QFETCH(bool, recurring);
        const QByteArray file = calendar(vevent("SUMMARY:Porada\\, 2. poschodie\r\n" + lines));
        // Also as a file saved with a byte-order mark and LF line ends.
        for (const QByteArray& bytes : {file, kUtf8Bom + QByteArray(file).replace("\r\n", "\n")}) {
            const TCalendarContents read = ReadICalendar(bytes, kNow);
            QCOMPARE(read.events.size(), 1);
            QCOMPARE(read.events[0].start, start);
            QCOMPARE(read.events[0].alarm, alarm);
            QCOMPARE(read.events[0].recurring, recurring);
            QCOMPARE(read.events[0].subject, u"Porada, 2. poschodie"_s);
            QCOMPARE(read.recurring, int(recurring));
        }
    }

    // What is no event, no event with a start, or a series too long to
    // follow to today (daily since 1700, over 100,000 occurrences) is
    // counted, not read.
    void skipped() {
        const TCalendarContents read = ReadICalendar(
            calendar("BEGIN:VTODO\r\nUID:t\r\nSUMMARY:a\r\nEND:VTODO\r\n" +
                     vevent("SUMMARY:bez za\xC4\x8Diatku\r\n") +
                     vevent("DTSTART:20261211T083000Z\r\nSUMMARY:ok\r\n") +
                     vevent("DTSTART:17000101T090000Z\r\nRRULE:FREQ=DAILY;COUNT=200000\r\n") +
                     "BEGIN:VJOURNAL\r\nUID:j\r\nEND:VJOURNAL\r\n"),
            kNow);
        QCOMPARE(read.events.size(), 1);
        QCOMPARE(read.skipped, (QMap<QString, int>{{u"VTODO"_s, 1},
                                                   {u"VEVENT (DTSTART)"_s, 1},
                                                   {u"VEVENT (RRULE)"_s, 1},
                                                   {u"VJOURNAL"_s, 1}}));
        // A file's series are followed so far all together, in one calendar
        // or in several: of seven series of days since 1800 (82,600
        // occurrences to today each), each in a calendar of its own, the
        // last is not.
        QByteArray series;
        for (int i = 0; i < 7; ++i)
            series +=
                calendar(vevent("DTSTART:18000101T090000Z\r\nRRULE:FREQ=DAILY;COUNT=90000\r\n"));
        const TCalendarContents many = ReadICalendar(series, kNow);
        QCOMPARE(many.events.size(), 6);
        QCOMPARE(many.events[5].start.date(), QDate(2026, 12, 10));
        QCOMPARE(many.skipped, (QMap<QString, int>{{u"VEVENT (RRULE)"_s, 1}}));
    }

    void notACalendar_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a vCard") << QByteArray("BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n");
        QTest::newRow("text") << QByteArray("Ján;Novák\r\n");
    }
    void notACalendar() {
        QFETCH(QByteArray, file);
        try {
            ReadICalendar(file, kNow);
            QFAIL("read as a calendar");
        } catch (const TFormatError& e) {
            QCOMPARE(e.fault, TFormatError::Fault::NoCalendar);
        }
    }

    // The diary's entries go out in the system's zone, with its definition,
    // and come back at the same local moments with the same texts.
    void roundTrip() {
        const QList<TDiaryEvent> entries{
            {QDateTime(QDate(2026, 12, 11), QTime(9, 30)), true, u"Zubár; Kováč, MUDr."_s,
             u"Kartička\npoistenca \\ 2 ks"_s},
            {QDateTime(QDate(2026, 7, 1), QTime(23, 59, 59)), false, u"Ľščťžýáíé"_s, QString()},
        };
        const QDateTime stamp(QDate(2026, 12, 9), QTime(10, 0));
        QByteArray file = ICalendarStart();
        QVERIFY(file.contains("BEGIN:VTIMEZONE"));
        for (int i = 0; i < entries.size(); ++i)
            file += ICalendarEvent(entries[i], u"mojdiar-%1@velmorand"_s.arg(i), stamp);
        file += ICalendarEnd();
        QVERIFY(file.contains("DTSTART;TZID="));
        QVERIFY(file.contains("UID:mojdiar-1@velmorand"));
        const TCalendarContents read = ReadICalendar(file, kNow);
        QCOMPARE(read.events.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(read.events[i].start, entries[i].start);
            QCOMPARE(read.events[i].alarm, entries[i].alarm);
            QCOMPARE(read.events[i].subject, entries[i].subject);
            QCOMPARE(read.events[i].text, entries[i].text);
        }
        QVERIFY(read.skipped.isEmpty());
    }

    void aHundredThousandEvents() {
        QByteArray inside;
        for (int i = 0; i < 100000; ++i)
            inside +=
                vevent("DTSTART:20261211T083000Z\r\nSUMMARY:" + QByteArray::number(i) + "\r\n");
        const TCalendarContents read = ReadICalendar(calendar(inside), kNow);
        QCOMPARE(read.events.size(), 100000);
        QCOMPARE(read.events.last().subject, u"99999"_s);
    }
};

QTEST_GUILESS_MAIN(TestICalendar)
#include "tst_icalendar.moc"
