// Stored date forms, the pattern parser and the display patterns.
#include "storage/datetimetext.h"
#include "testcore.h"

using namespace Qt::Literals::StringLiterals;

namespace {
QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return Moment(QDate(y, mo, d), QTime(h, mi, s, ms));
}
} // namespace

class TestDateTimeText : public QObject {
    Q_OBJECT
private slots:
    // The long day a list writes from a day's parts names the same weekday
    // as the calendar, across leap years, centuries and before 1900.
    void longDayFromItsParts() {
        const TDateNames names;
        for (QDate day(1600, 1, 1); day.year() < 2401; day = day.addDays(13)) {
            QString fromParts, fromDate;
            names.appendLongDay(day.year(), day.month(), day.day(), fromParts);
            names.appendLongDay(day, fromDate);
            QVERIFY2(fromParts.startsWith(names.day(day.dayOfWeek(), false) + u' '),
                     qPrintable(day.toString()));
            QCOMPARE(fromParts, fromDate);
        }
    }

    // Numbers as lists write them: ages (negative for a birth ahead), days
    // and years padded to their width.
    void numbers() {
        const auto written = [](int value, int width) {
            QString text = u"x"_s;
            AppendNumber(text, value, width);
            return text;
        };
        QCOMPARE(written(0, 1), u"x0"_s);
        QCOMPARE(written(7, 2), u"x07"_s);
        QCOMPARE(written(31, 2), u"x31"_s);
        QCOMPARE(written(812, 4), u"x0812"_s);
        QCOMPARE(written(-3, 1), u"x-3"_s);
        QCOMPARE(written(std::numeric_limits<int>::min(), 1), u"x-2147483648"_s);
        QCOMPARE(written(std::numeric_limits<int>::max(), 4), u"x2147483647"_s);
    }

    void sqlForm_data() {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("afternoon") << at(2008, 3, 30, 14, 5) << u"2008-03-30 14:05:00"_s;
        QTest::newRow("midnight") << at(2009, 1, 1) << u"2009-01-01 00:00:00"_s;
        QTest::newRow("zero moment") << ZeroMoment() << u"1899-12-30 00:00:00"_s;
        QTest::newRow("last second") << at(9999, 12, 31, 23, 59, 59) << u"9999-12-31 23:59:59"_s;
    }
    void sqlForm() {
        QFETCH(QDateTime, value);
        QFETCH(QString, text);
        DisplayPatterns patterns;
        patterns.shortDate = u"dd.mm.yyyy"_s;
        QCOMPARE(SqlDateTimeText(value, patterns), text);
        // The display patterns are left at their program-wide values.
        QCOMPARE(patterns.shortDate, u"DD MMMM YYYY"_s);
        QCOMPARE(patterns.longTime, u"HH:MM"_s);
        QCOMPARE(ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, text), value);
    }

    void parse_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("value");
        const QString full = u"yyyy-mm-dd hh:nn:ss"_s, day = u"yyyy-mm-dd"_s;
        QTest::newRow("moment") << full << u"2008-03-30 14:05:00"_s << at(2008, 3, 30, 14, 5);
        QTest::newRow("day") << day << u"2008-03-30"_s << at(2008, 3, 30);
        QTest::newRow("no 30 February") << day << u"2008-02-30"_s << ZeroMoment();
        QTest::newRow("29 February of a leap year") << day << u"2008-02-29"_s << at(2008, 2, 29);
        QTest::newRow("hour not a number")
            << full << u"2008-03-30 x4:05:00"_s << at(2008, 3, 30, 0, 5);
        QTest::newRow("other separators") << day << u"2008/03/30"_s << at(2008, 3, 30);
        QTest::newRow("empty") << full << QString() << ZeroMoment();
        QTest::newRow("year only") << day << u"2008"_s << ZeroMoment();
        QTest::newRow("no day") << day << u"2008-03"_s << ZeroMoment();
        QTest::newRow("day without time is midnight") << full << u"2008-03-30"_s << at(2008, 3, 30);
        QTest::newRow("letters for the year") << day << u"abcd-03-30"_s << ZeroMoment();
        QTest::newRow("year with a blank") << day << u" 208-03-30"_s << ZeroMoment();
        QTest::newRow("month 13") << day << u"2008-13-01"_s << ZeroMoment();
        QTest::newRow("month 00") << day << u"2008-00-01"_s << ZeroMoment();
        QTest::newRow("hour 24") << full << u"2008-03-30 24:00:00"_s << ZeroMoment();
        QTest::newRow("minute 60") << full << u"2008-03-30 10:60:00"_s << ZeroMoment();
        QTest::newRow("year 0") << day << u"0000-01-01"_s << ZeroMoment();
        QTest::newRow("negative year") << day << u"-008-03-30"_s << ZeroMoment();
        QTest::newRow("blank-padded parts")
            << full << u"2008- 3- 9  4: 5: 6"_s << at(2008, 3, 9, 4, 5, 6);
        QTest::newRow("trailing text ignored") << day << u"2008-03-30 14:05"_s << at(2008, 3, 30);
        QTest::newRow("day first") << u"dd.mm.yyyy"_s << u"30.03.2008"_s << at(2008, 3, 30);
        QTest::newRow("month name") << u"dd mmmm yyyy"_s << u"30 marec 2008"_s << at(2008, 3, 30);
        QTest::newRow("month name in capitals")
            << u"dd mmmm yyyy"_s << u"01 DECEMBER 2026"_s << at(2026, 12, 1);
        QTest::newRow("short month name")
            << u"dd mmm yyyy"_s << u"30 mar 2008"_s << at(2008, 3, 30);
        QTest::newRow("unknown month name")
            << u"dd mmmm yyyy"_s << u"30 xyz 2008"_s << ZeroMoment();
        QTest::newRow("day name skipped")
            << u"dddd dd mm yyyy"_s << u"nedeľa 30 03 2008"_s << at(2008, 3, 30);
        QTest::newRow("day name with a capital")
            << u"dddd dd mm yyyy"_s << u"ŠTVRTOK 03 04 2008"_s << at(2008, 4, 3);
        QTest::newRow("two-digit year 49") << u"dd.mm.yy"_s << u"01.02.49"_s << at(2049, 2, 1);
        QTest::newRow("two-digit year 50") << u"dd.mm.yy"_s << u"01.02.50"_s << at(1950, 2, 1);
        QTest::newRow("pm") << u"yyyy-mm-dd hh:nn ampm"_s << u"2008-03-30 02:05 PM"_s
                            << at(2008, 3, 30, 14, 5);
        QTest::newRow("am") << u"yyyy-mm-dd hh:nn am"_s << u"2008-03-30 02:05 AM"_s
                            << at(2008, 3, 30, 2, 5);
        QTest::newRow("a/p") << u"yyyy-mm-dd hh:nn ap"_s << u"2008-03-30 02:05 P"_s
                             << at(2008, 3, 30, 14, 5);
        QTest::newRow("pm makes hour 24")
            << u"yyyy-mm-dd hh ampm"_s << u"2008-03-30 12 PM"_s << ZeroMoment();
        QTest::newRow("milliseconds")
            << u"yyyy-mm-dd hh:nn:ss.zzz"_s << u"2008-03-30 01:02:03.456"_s
            << at(2008, 3, 30, 1, 2, 3, 456);
    }
    void parse() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QDateTime, value);
        QCOMPARE(ParseDateTimeByFormat(pattern, text, QLocale(), 2026), value);
    }

    void display_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("short date") << u"DD MMMM YYYY"_s << at(2008, 3, 30) << u"30 marec 2008"_s;
        QTest::newRow("long time") << u"HH:MM"_s << at(2008, 3, 30, 9, 5) << u"09:05"_s;
        QTest::newRow("minute after hour")
            << u"hh:mm:ss"_s << at(2008, 3, 30, 9, 5, 7) << u"09:05:07"_s;
        QTest::newRow("diary heading")
            << u"DDDD D MMMM YYYY"_s << at(2008, 3, 2) << u"nedeľa 2 marec 2008"_s;
        QTest::newRow("two-digit year and month") << u"d.m.yy"_s << at(2008, 3, 2) << u"2.3.08"_s;
        QTest::newRow("quoted text") << u"'den' dd"_s << at(2008, 3, 2) << u"den 02"_s;
    }
    void display() {
        QFETCH(QString, pattern);
        QFETCH(QDateTime, value);
        QFETCH(QString, text);
        QCOMPARE(FormatDateTime(pattern, value), text);
    }

    void displayTextsOfMoments() {
        DisplayPatterns patterns;
        SqlDateTimeText(at(2000, 1, 1), patterns);
        QCOMPARE(patterns.date(at(2008, 3, 30, 14, 5)), u"30 marec 2008"_s);
        QCOMPARE(patterns.dateTime(at(2008, 3, 30, 14, 5)), u"30 marec 2008 14:05"_s);
        QCOMPARE(patterns.dateTime(at(2008, 3, 30)), u"30 marec 2008"_s); // midnight: no time
    }
};

VELMORAND_CORE_TEST_MAIN(TestDateTimeText)
#include "tst_datetimetext.moc"
