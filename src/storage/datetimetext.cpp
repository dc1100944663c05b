#include "datetimetext.h"

#include <optional>

#include <QStringList>
#include <array>

using namespace Qt::Literals::StringLiterals;

QDateTime Moment(QDate date, QTime time) {
    return QDateTime(date, time, Qt::UTC);
}

QDateTime ZeroMoment() {
    return Moment(QDate(1899, 12, 30));
}

QString DisplayPatterns::date(const QDateTime& value, const QLocale& locale) const {
    return FormatDateTime(shortDate, value, locale);
}

QString DisplayPatterns::time(const QDateTime& value, const QLocale& locale) const {
    return FormatDateTime(longTime, value, locale);
}

QString DisplayPatterns::dateTime(const QDateTime& value, const QLocale& locale) const {
    if (value.time() == QTime(0, 0))
        return date(value, locale);
    return date(value, locale) + u' ' + time(value, locale);
}

QString SqlDateTimeText(const QDateTime& value, DisplayPatterns& patterns) {
    patterns.shortDate = u"yyyy-mm-dd"_s;
    patterns.longTime = u"hh:nn:ss"_s;
    const QString text = patterns.date(value) + u' ' + patterns.time(value);
    patterns.shortDate = u"DD MMMM YYYY"_s;
    patterns.longTime = u"HH:MM"_s;
    return text;
}

namespace {

QChar upperAscii(QChar c) {
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c;
}

QString padded(int value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

} // namespace

namespace {

// FormatDateTime's writing, with the names of days and months from `names`
// (day or month, 1-based, and long or short).
template <typename Names>
QString formatWith(const QString& pattern, const QDateTime& value, const Names& names) {
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    QChar lastToken;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = upperAscii(pattern[i]);
        if (c == u'"' || c == u'\'') {
            const qsizetype end = pattern.indexOf(pattern[i], i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && upperAscii(pattern[i + run]) == c)
            ++run;
        switch (c.unicode()) {
        case u'Y':
            out += run <= 2 ? padded(d.year() % 100, 2) : padded(d.year(), 4);
            break;
        case u'M':
            if (lastToken == u'H' && run <= 2)
                out += padded(t.minute(), int(run));
            else if (run <= 2)
                out += padded(d.month(), int(run));
            else
                out += names.month(d.month(), run == 3);
            break;
        case u'D':
            if (run <= 2)
                out += padded(d.day(), int(run));
            else
                out += names.day(d.dayOfWeek(), run == 3);
            break;
        case u'H':
            out += padded(t.hour(), run >= 2 ? 2 : 1);
            break;
        case u'N':
            out += padded(t.minute(), run >= 2 ? 2 : 1);
            break;
        case u'S':
            out += padded(t.second(), run >= 2 ? 2 : 1);
            break;
        case u'Z':
            out += padded(t.msec(), run >= 3 ? 3 : 1);
            break;
        default:
            out += pattern.mid(i, run);
            i += run;
            continue;
        }
        lastToken = c;
        i += run;
    }
    return out;
}

// The names straight from the locale.
struct LocaleNames {
    const QLocale& locale;
    QString day(int n, bool brief) const {
        return locale.standaloneDayName(n, brief ? QLocale::ShortFormat : QLocale::LongFormat);
    }
    QString month(int n, bool brief) const {
        return locale.standaloneMonthName(n, brief ? QLocale::ShortFormat : QLocale::LongFormat);
    }
};

} // namespace

QString FormatDateTime(const QString& pattern, const QDateTime& value, const QLocale& locale) {
    return formatWith(pattern, value, LocaleNames{locale});
}

TDateNames::TDateNames(const QLocale& locale) {
    const LocaleNames names{locale};
    for (int n = 1; n <= 7; ++n) {
        m_days[n - 1][0] = names.day(n, false);
        m_days[n - 1][1] = names.day(n, true);
    }
    for (int n = 1; n <= 12; ++n) {
        m_months[n - 1][0] = names.month(n, false);
        m_months[n - 1][1] = names.month(n, true);
    }
}

QString TDateNames::format(const QString& pattern, const QDateTime& value) const {
    QString text;
    if (pattern == u"DDDD D MMMM YYYY")
        appendLongDay(value.date(), text);
    else if (pattern == u"DD MMMM YYYY")
        appendDay(value.date().year(), value.date().month(), value.date().day(), text);
    else
        text = formatWith(pattern, value, *this);
    return text;
}

void AppendNumber(QString& text, int value, int width) {
    // Written from the end of a buffer, appended at once.
    char16_t digits[12];
    int start = std::size(digits);
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        digits[--start] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    while (int(std::size(digits)) - start < width && start > 1)
        digits[--start] = u'0';
    if (value < 0)
        digits[--start] = u'-';
    text.append(QStringView(digits + start, digits + std::size(digits)));
}

void TDateNames::appendLongDay(QDate day, QString& text) const {
    int year, month, dayOfMonth;
    day.getDate(&year, &month, &dayOfMonth);
    appendLongDay(year, month, dayOfMonth, text);
}

void TDateNames::appendLongDay(int year, int month, int day, QString& text) const {
    // Put together at once, as lists write thousands: "nedeľa 30 marec 2008".
    // The day of the week straight from the parts (Gregorian, Monday 1).
    static constexpr int kMonthShift[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = month < 3 ? year - 1 : year;
    const int sunday0 = (y + y / 4 - y / 100 + y / 400 + kMonthShift[month - 1] + day) % 7;
    text += m_days[(sunday0 + 6) % 7][0];
    text += u' ';
    AppendNumber(text, day, 1);
    text += u' ';
    text += m_months[month - 1][0];
    text += u' ';
    AppendNumber(text, year, 4);
}

void TDateNames::appendDay(int year, int month, int day, QString& text) const {
    AppendNumber(text, day, 2);
    text += u' ';
    text += m_months[month - 1][0];
    text += u' ';
    AppendNumber(text, year, 4);
}

bool StoredDayParts(QByteArrayView bytes, int& year, int& month, int& day) {
    if (bytes.size() != 10 || bytes[4] != '-' || bytes[7] != '-')
        return false;
    int fields[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8}, widths[3] = {4, 2, 2};
    for (int f = 0; f < 3; ++f)
        for (int i = starts[f]; i < starts[f] + widths[f]; ++i) {
            if (bytes[i] < '0' || bytes[i] > '9')
                return false;
            fields[f] = fields[f] * 10 + (bytes[i] - '0');
        }
    if (fields[0] < 1 || !QDate::isValid(fields[0], fields[1], fields[2]))
        return false;
    year = fields[0];
    month = fields[1];
    day = fields[2];
    return true;
}

QDate StoredDay(QByteArrayView bytes) {
    int year, month, day;
    return StoredDayParts(bytes, year, month, day) ? QDate(year, month, day) : QDate();
}

namespace {

constexpr std::array kTokens = {u"DD", u"DDD", u"DDDD", u"MM", u"MMM", u"MMMM",
                                u"YY", u"YYY", u"YYYY", u"HH", u"NN",  u"SS",
                                u"ZZ", u"ZZZ", u"AP",   u"AM", u"AMP", u"AMPM"};

bool isToken(const QString& text) {
    for (const char16_t* token : kTokens)
        if (text == QStringView(token))
            return true;
    return false;
}

// A whole number: an optional sign and decimal digits, nothing else; 0 otherwise.
int number(const QString& text) {
    qsizetype i = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
    if (i == text.size())
        return 0;
    int value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return 0;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return text.startsWith(u'-') ? -value : value;
}

// Index (1-based) of the first name whose first three letters equal the
// first three characters of the text, compared without case; 0 when none.
int matchName(const QString& text, const QStringList& names) {
    const QString head = text.left(3).toUpper();
    for (int i = 0; i < names.size(); ++i)
        if (!head.isEmpty() && names[i].left(3).toUpper() == head)
            return i + 1;
    return 0;
}

} // namespace

namespace {

// The stored forms "yyyy-mm-dd" and "yyyy-mm-dd hh:nn:ss" as written, read
// straight away: lists read thousands of them. Anything else is left to
// the general reading, which gives the same for these.
std::optional<QDateTime> storedForm(const QString& pattern, const QString& text) {
    const bool moment = pattern == u"yyyy-mm-dd hh:nn:ss";
    if (!(moment || pattern == u"yyyy-mm-dd") || text.size() != (moment ? 19 : 10))
        return std::nullopt;
    const auto digits = [&](qsizetype at, qsizetype count) {
        int value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    if (text[4] != u'-' || text[7] != u'-' ||
        (moment && (text[10] != u' ' || text[13] != u':' || text[16] != u':')))
        return std::nullopt;
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    const int hour = moment ? digits(11, 2) : 0, minute = moment ? digits(14, 2) : 0,
              second = moment ? digits(17, 2) : 0;
    if (year < 1 || !QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return std::nullopt;
    return Moment(QDate(year, month, day), QTime(hour, minute, second));
}

} // namespace

QDateTime ParseDateTimeByFormat(const QString& pattern, const QString& text) {
    // The stored forms need no locale, whose making costs more than their reading.
    if (const std::optional<QDateTime> stored = storedForm(pattern, text))
        return *stored;
    return ParseDateTimeByFormat(pattern, text, QLocale());
}

QDateTime ParseDateTimeByFormat(const QString& pattern, const QString& text, const QLocale& locale,
                                int currentYear) {
    if (const std::optional<QDateTime> stored = storedForm(pattern, text))
        return *stored;
    int year = 1, month = 1, day = 1, hour = 0, minute = 0, second = 0, msec = 0;
    bool afternoon = false;
    bool ranOut = false;

    QString p = pattern;
    for (QChar& c : p)
        c = upperAscii(c);
    QString rest = text;
    for (QChar& c : rest)
        c = upperAscii(c);

    QStringList dayNames, monthNames;
    auto names = [&](QStringList& list, int count, auto nameOf) -> const QStringList& {
        if (list.isEmpty())
            for (int n = 1; n <= count; ++n)
                list.append(nameOf(n));
        return list;
    };
    auto take = [&](qsizetype count) {
        const QString part = rest.left(count);
        rest.remove(0, count);
        return part;
    };

    // The last character of the pattern never starts a token.
    qsizetype i = 0;
    while (i < p.size() - 1) {
        const QChar c = p[i];
        if (!QStringView(u"ADHMNPSYZ").contains(c)) {
            if (rest.size() >= 2)
                rest.remove(0, 1);
            ++i;
            continue;
        }
        QString token(c);
        qsizetype j = i + 1;
        while (j < p.size() && isToken(token + p[j]))
            token += p[j++];
        i = j;
        if (rest.isEmpty()) {
            // A text that ends before its day, month or year holds no date;
            // one that ends before its time of day is read as midnight.
            if (token == u"DD" || token == u"MM" || token == u"MMM" || token == u"MMMM" ||
                token == u"YY" || token == u"YYYY")
                ranOut = true;
            continue;
        }
        if (token == u"DD") {
            day = number(take(2).trimmed());
        } else if (token == u"DDD") {
            take(3);
        } else if (token == u"DDDD") {
            const auto& list = names(dayNames, 7, [&](int n) {
                return locale.standaloneDayName(n, QLocale::LongFormat);
            });
            if (const int n = matchName(rest, list))
                take(list[n - 1].size());
        } else if (token == u"MM") {
            month = number(take(2).trimmed());
        } else if (token == u"MMM" || token == u"MMMM") {
            const auto& list = names(monthNames, 12, [&](int n) {
                return locale.standaloneMonthName(n, QLocale::LongFormat);
            });
            if (const int n = matchName(rest, list)) {
                month = n;
                take(token == u"MMM" ? 3 : list[n - 1].size());
            }
        } else if (token == u"YY") {
            year = number(take(2));
            if (year >= 0 && year <= 99) {
                const int century =
                    ((currentYear ? currentYear : QDate::currentDate().year()) / 100) * 100;
                year += year < 50 ? century : century - 100;
            }
        } else if (token == u"YYYY") {
            year = number(take(4));
        } else if (token == u"HH") {
            hour = number(take(2).trimmed());
        } else if (token == u"NN") {
            minute = number(take(2).trimmed());
        } else if (token == u"SS") {
            second = number(take(2).trimmed());
        } else if (token == u"ZZ" || token == u"ZZZ") {
            msec = number(take(3).trimmed());
        } else if (token == u"AP") {
            afternoon = take(1) != u"A";
        } else if (token == u"AM" || token == u"AMP" || token == u"AMPM") {
            afternoon = take(2) != u"AM";
        }
        // YYY and a lone letter take nothing.
    }

    if (afternoon)
        hour += 12;
    const bool valid = !ranOut && year >= 1 && year <= 9999 && QDate::isValid(year, month, day) &&
                       QTime::isValid(hour, minute, second, msec);
    return valid ? Moment(QDate(year, month, day), QTime(hour, minute, second, msec))
                 : ZeroMoment();
}
