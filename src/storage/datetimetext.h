#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// Moments are wall-clock values without a time zone: a QDateTime in Qt::UTC,
// so that no daylight-saving rule shifts or rejects them. The diary stores
// moments as yyyy-mm-dd hh:nn:ss, days as yyyy-mm-dd; text order is time order.

QDateTime Moment(QDate date, QTime time = QTime(0, 0));
// 30 December 1899 00:00: the value of a text that holds no valid moment.
QDateTime ZeroMoment();

// The two display patterns shared by the whole program: the short date
// pattern for dates and the long time pattern for times.
struct DisplayPatterns {
    QString shortDate = QStringLiteral("DD MMMM YYYY");
    QString longTime = QStringLiteral("HH:MM");

    QString date(const QDateTime& value, const QLocale& locale = QLocale()) const;
    QString time(const QDateTime& value, const QLocale& locale = QLocale()) const;
    // The date and, unless the time of day is exactly midnight, a blank and the time.
    QString dateTime(const QDateTime& value, const QLocale& locale = QLocale()) const;
};

// The stored form "yyyy-mm-dd hh:nn:ss". Leaves the display patterns at
// "DD MMMM YYYY" and "HH:MM".
QString SqlDateTimeText(const QDateTime& value, DisplayPatterns& patterns);

// Formats with the pattern letters d dd ddd dddd m mm mmm mmmm yy yyyy h hh
// n nn s ss z zzz (any case; m right after h is the minute), ':' for the time
// separator, and quoted text.
QString FormatDateTime(const QString& pattern, const QDateTime& value,
                       const QLocale& locale = QLocale());

// A calendar day by its parts.
struct TDayParts {
    int year = 0, month = 0, day = 0;
};

// A number in decimal with at least `width` digits, onto the end of `text`.
void AppendNumber(QString& text, int value, int width = 1);

// The names of the days and months of a locale, fetched once, for writing
// many dates the way FormatDateTime does.
class TDateNames {
public:
    explicit TDateNames(const QLocale& locale = QLocale());
    QString format(const QString& pattern, const QDateTime& value) const;
    // The day as "DDDD D MMMM YYYY" writes it, onto the end of `text`.
    void appendLongDay(QDate day, QString& text) const;
    // The same for a valid day given by its parts, as a list reads them.
    void appendLongDay(int year, int month, int day, QString& text) const;
    // The day as "DD MMMM YYYY" writes it (a valid date), onto the end of `text`.
    void appendDay(int year, int month, int day, QString& text) const;
    // Day 1 (Monday) to 7 and month 1 to 12; short or long.
    QString day(int n, bool brief) const { return m_days[n - 1][brief]; }
    QString month(int n, bool brief) const { return m_months[n - 1][brief]; }

private:
    QString m_days[7][2];
    QString m_months[12][2];
};

// The day of a stored "yyyy-mm-dd" exactly as written (ASCII bytes); an
// invalid date for anything else.
QDate StoredDay(QByteArrayView bytes);
// The same, as its year, month and day; false (the numbers untouched) for
// anything but a valid date.
bool StoredDayParts(QByteArrayView bytes, int& year, int& month, int& day);

// Reads a text by a format pattern, the tokens of FormatDateTime plus AM/PM
// marks. Day and month names come from the locale. The result is the zero
// moment when the text holds no valid moment or ends before its date is
// complete; a text that ends before its time of day is read as midnight.
// currentYear places two-digit years (0 means this year).
QDateTime ParseDateTimeByFormat(const QString& pattern, const QString& text, const QLocale& locale,
                                int currentYear = 0);
// The same in the user's locale.
QDateTime ParseDateTimeByFormat(const QString& pattern, const QString& text);
