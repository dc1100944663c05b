#include "vcard.h"

#include "storage/text1250.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

using namespace Qt::Literals::StringLiterals;

namespace {

// The fields by their place.
enum Field {
    FirstName,
    Surname,
    Street,
    Postcode,
    Town,
    Country,
    HomePhone,
    WorkPhone,
    Mobile1,
    Mobile2,
    Mobile3,
    Fax,
    Mail1,
    Mail2,
    Mail3,
    Web,
    Icq,
    Skype,
    Irc,
    Jabber,
    Msn,
    Yahoo,
    Aim,
    GaduGadu
};

// Properties that say something of the card, not of the person: never
// named as left out.
const QSet<QByteArray> kAboutTheCard{"VERSION",
                                     "PRODID",
                                     "REV",
                                     "UID",
                                     "KIND",
                                     "SOURCE",
                                     "NAME",
                                     "PROFILE",
                                     "MAILER",
                                     "CLIENTPIDMAP",
                                     "X-ABLABEL",
                                     "X-ABUID",
                                     "X-ABSHOWAS",
                                     "X-PHONETIC-FIRST-NAME",
                                     "X-PHONETIC-LAST-NAME"};

// The messengers: their X- properties, IMPP schemes and X-SERVICE-TYPE names.
struct Messenger {
    Field field;
    const char* property;                        // as it is written
    std::initializer_list<QByteArrayView> names; // lower case
};
const Messenger kMessengers[] = {
    {Icq, "X-ICQ:", {"icq"}},
    {Skype, "X-SKYPE:", {"skype", "skype-username", "callto"}},
    {Irc, "X-IRC:", {"irc", "ircs"}},
    {Jabber, "X-JABBER:", {"jabber", "xmpp", "google-talk", "gtalk"}},
    {Msn, "X-MSN:", {"msn", "msnim", "windows-live"}},
    {Yahoo, "X-YAHOO:", {"yahoo", "ymsgr"}},
    {Aim, "X-AIM:", {"aim"}},
    {GaduGadu, "X-GADUGADU:", {"gadugadu", "gadu-gadu", "gg", "gadu"}},
};

// Each byte with an ASCII capital made small.
constexpr auto kSmall = [] {
    std::array<char, 256> small{};
    for (int c = 0; c < 256; ++c)
        small[std::size_t(c)] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return small;
}();

// Whether a name is the known one, whatever the case of its ASCII letters.
inline bool sameName(QByteArrayView name, QByteArrayView known) {
    // Most names that are not the one differ in length or in the first letter.
    if (name.size() != known.size() || (!name.isEmpty() && ((name[0] ^ known[0]) & ~0x20) != 0))
        return false;
    for (qsizetype i = 0; i < known.size(); ++i)
        if (kSmall[uchar(name[i])] != kSmall[uchar(known[i])])
            return false;
    return true;
}

template <qsizetype N> bool same(QByteArrayView name, const char (&known)[N]) {
    return sameName(name, QByteArrayView(known, N - 1));
}

// Whether a text holds that word, whatever its case.
bool holds(QByteArrayView text, QByteArrayView word) {
    for (qsizetype i = 0; i + word.size() <= text.size(); ++i)
        if (sameName(text.sliced(i, word.size()), word))
            return true;
    return false;
}

// A character that is surely no blank (Unicode has none between U+00A1
// and U+167F); others are asked of Unicode.
bool plainly(char16_t c) {
    return (c > u' ' && c < 0x7F) || (c > 0xA0 && c < 0x1680);
}

// The same as trimmed(), without a call where nothing is to be trimmed.
QStringView trim(QStringView text) {
    if (!text.isEmpty() && plainly(text.front().unicode()) && plainly(text.back().unicode()))
        return text;
    return text.trimmed();
}

QByteArrayView trim(QByteArrayView bytes) {
    if (!bytes.isEmpty() && plainly(uchar(bytes.front())) && plainly(uchar(bytes.back())))
        return bytes;
    return bytes.trimmed();
}

int messengerField(QByteArrayView name) {
    for (const Messenger& m : kMessengers)
        for (const QByteArrayView known : m.names)
            if (sameName(name, known))
                return m.field;
    return -1;
}

using TextRoom = TVCardReader::TextRoom;

// Room for n units at least; only ever grows.
char16_t* roomFor(TextRoom& room, qsizetype n) {
    if (room.size() < n)
        room.resize(n);
    return room.data();
}

// A text copied into the room.
QStringView copied(const QString& text, TextRoom& room) {
    char16_t* out = roomFor(room, text.size());
    std::copy(text.utf16(), text.utf16() + text.size(), out);
    return QStringView(out, text.size());
}

// Bytes of UTF-8 as text in `room` (a byte-order mark kept as the character
// it is); false when they are no valid UTF-8.
bool utf8Into(QByteArrayView bytes, TextRoom& room, QStringView& text) {
    // No byte gives more than one unit of UTF-16.
    char16_t* const first = roomFor(room, bytes.size());
    char16_t* out = first;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = in + bytes.size();
    for (;;) {
        // A run of ASCII, then one character of more bytes.
        while (in < end && *in < 0x80)
            *out++ = *in++;
        if (in == end)
            break;
        const unsigned lead = *in;
        // The bytes that may follow a lead byte, as Unicode lists them.
        int more = 0;
        unsigned code = 0, low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, code = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, code = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end - in <= more)
            return false;
        for (int k = 1; k <= more; ++k) {
            const unsigned next = in[k];
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
            code = code << 6 | (next & 0x3F);
        }
        in += more + 1;
        if (code >= 0x10000) {
            *out++ = QChar::highSurrogate(code);
            *out++ = QChar::lowSurrogate(code);
        } else {
            *out++ = char16_t(code);
        }
    }
    text = QStringView(first, out - first);
    return true;
}

// Bytes of a value as text, in `room`: by the CHARSET the card names, else
// UTF-8 when they are valid UTF-8, else Windows-1250.
QStringView decodeText(QByteArrayView bytes, QByteArrayView charset, TextRoom& room) {
    if (!charset.isEmpty() && !same(charset, "WINDOWS-1250") && !same(charset, "CP1250") &&
        // Any other Unicode form named is read as UTF-8: a value's bytes in
        // UTF-16 cannot stand in a line of text.
        (charset.size() < 3 || !same(charset.first(3), "UTF"))) {
        QStringDecoder decoder(charset.toByteArray().constData());
        if (decoder.isValid())
            return copied(decoder.decode(bytes), room);
    }
    const bool cp1250 = same(charset, "WINDOWS-1250") || same(charset, "CP1250");
    QStringView text;
    if (cp1250 || !utf8Into(bytes, room, text))
        return copied(Cp1250::decode(bytes), room);
    return text;
}

// A value into a field, in the field's own room.
void put(QString& field, QStringView value) {
    field.resize(value.size());
    std::copy(value.begin(), value.end(), field.begin());
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Quoted-printable: =XX is a byte; what is no such pair stays as it is.
QByteArray unquotePrintable(QByteArrayView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = hexDigit(text[i + 1]), low = hexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes += char(high * 16 + low);
                i += 2;
                continue;
            }
        }
        bytes += text[i];
    }
    return bytes;
}

// A text value's parts at each semicolon no backslash escapes, each with
// its escapes undone (\n a line break; in version 2.1 only \; is one). The
// parts are views into the value, or, where it has escapes, into the
// parts' own copies.
struct Parts {
    QStringList unescaped;
    QVarLengthArray<QStringView, 8> views;
    // A part without the blanks around it; empty past the last.
    QStringView operator[](qsizetype i) const {
        return i < views.size() ? trim(views[i]) : QStringView();
    }
};

bool hasEscape(QStringView value) {
    return std::find(value.begin(), value.end(), u'\\') != value.end();
}

Parts components(QStringView value, bool escapes) {
    Parts parts;
    if (!hasEscape(value)) {
        qsizetype start = 0;
        for (qsizetype at = 0; at < value.size(); ++at)
            if (value[at] == u';') {
                parts.views.append(value.sliced(start, at - start));
                start = at + 1;
            }
        parts.views.append(value.sliced(start));
        return parts;
    }
    QStringList& list = parts.unescaped;
    list.append(QString());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            if (next == u';' || (escapes && (next == u',' || next == u'\\'))) {
                list.last() += next;
                ++i;
                continue;
            }
            if (escapes && (next == u'n' || next == u'N')) {
                list.last() += u'\n';
                ++i;
                continue;
            }
        }
        if (c == u';')
            list.append(QString());
        else
            list.last() += c;
    }
    for (const QString& part : std::as_const(list))
        parts.views.append(part);
    return parts;
}

// The types of a property that say where its value goes.
enum Type : unsigned { FaxType = 1, CellType = 2, WorkType = 4, HomeType = 8 };

unsigned typeOf(QByteArrayView type) {
    if (same(type, "fax"))
        return FaxType;
    if (same(type, "cell") || same(type, "mobile") || same(type, "iphone"))
        return CellType;
    if (same(type, "work"))
        return WorkType;
    if (same(type, "home"))
        return HomeType;
    return 0;
}

// A property line taken apart: views into the line.
struct Property {
    QByteArrayView name; // without its group
    QByteArrayView encoding, charset, serviceType, value;
    unsigned types = 0;
    bool uri = false;
};

// Where the value starts: the first colon outside double quotes; and
// whether parameters come before it.
qsizetype valueStart(QByteArrayView line, bool* parameters = nullptr) {
    bool quoted = false, semicolon = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ':' && !quoted) {
            if (parameters)
                *parameters = semicolon;
            return i;
        } else if (c == ';') {
            semicolon = true;
        }
    }
    return -1;
}

// A parameter's value without the blanks and quotes around it.
QByteArrayView unquoted(QByteArrayView value) {
    value = trim(value);
    if (!value.startsWith('"') && !value.endsWith('"'))
        return value;
    if (value.startsWith('"'))
        value = value.sliced(1);
    if (value.endsWith('"'))
        value.chop(1);
    return value.trimmed();
}

// The types of TYPE=a,b or of 2.1's bare words.
void readTypes(QByteArrayView value, Property& p) {
    for (qsizetype start = 0; start <= value.size();) {
        qsizetype comma = value.indexOf(',', start);
        if (comma < 0)
            comma = value.size();
        p.types |= typeOf(unquoted(value.sliced(start, comma - start)));
        start = comma + 1;
    }
}

// One parameter: NAME=VALUE,VALUE or, in 2.1, a bare TYPE or ENCODING.
void readParameter(QByteArrayView part, Property& p) {
    const qsizetype equals = part.indexOf('=');
    const QByteArrayView key = equals < 0 ? QByteArrayView() : part.first(equals).trimmed();
    const QByteArrayView value = equals < 0 ? part : part.sliced(equals + 1);
    // The commonest first.
    if (same(key, "TYPE")) {
        readTypes(value, p);
        return;
    }
    const QByteArrayView plain = unquoted(value);
    if (same(key, "ENCODING") ||
        (key.isEmpty() && (same(plain, "QUOTED-PRINTABLE") || same(plain, "BASE64") ||
                           same(plain, "B") || same(plain, "8BIT") || same(plain, "7BIT"))))
        p.encoding = plain;
    else if (same(key, "CHARSET"))
        p.charset = plain;
    else if (same(key, "VALUE"))
        p.uri = same(plain, "URI");
    else if (same(key, "X-SERVICE-TYPE"))
        p.serviceType = plain;
    else if (key.isEmpty())
        readTypes(value, p);
}

// A property's name without its group.
QByteArrayView withoutGroup(QByteArrayView name) {
    name = trim(name);
    qsizetype dot = name.size();
    while (dot > 0 && name[dot - 1] != '.')
        --dot;
    return name.sliced(dot);
}

// The name and the parameters, at each semicolon outside quotes; the name
// alone when there are none.
void readParameters(QByteArrayView head, bool parameters, Property& p) {
    if (!parameters) {
        p.name = withoutGroup(head);
        return;
    }
    bool quoted = false, name = true;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"')
            quoted = !quoted;
        if (i < head.size() && (head[i] != ';' || quoted))
            continue;
        const QByteArrayView part = head.sliced(start, i - start);
        start = i + 1;
        if (std::exchange(name, false)) {
            p.name = withoutGroup(part);
        } else {
            readParameter(part, p);
        }
    }
}

// Puts a value into the first free field of those listed; false when all
// are taken.
bool intoFirstFree(TContactValues& fields, std::initializer_list<Field> places, QStringView value) {
    for (const Field place : places)
        if (fields[place].isEmpty()) {
            put(fields[place], value);
            return true;
        }
    return false;
}

// The value of a card's property put into its field, or named as left out.
void mapProperty(const Property& p, bool escapes, TCardContact& card, bool& named, TextRoom& room) {
    const QStringView text =
        decodeText(same(p.encoding, "QUOTED-PRINTABLE") ? unquotePrintable(p.value) : p.value,
                   p.charset, room);
    TContactValues& f = card.fields;
    // The value as one text, its escapes undone.
    QString unescaped;
    const auto single = [&]() -> QStringView {
        if (!hasEscape(text))
            return trim(text);
        unescaped = components(text, escapes).unescaped.join(u';').trimmed();
        return unescaped;
    };
    const QByteArrayView name = p.name;
    bool stored = true;
    if (same(name, "N")) {
        const Parts n = components(text, escapes);
        // An empty N leaves the name to FN.
        if (!n[0].isEmpty() || !n[1].isEmpty() || !n[2].isEmpty()) {
            put(f[Surname], n[0]);
            if (n[2].isEmpty())
                put(f[FirstName], n[1]);
            else
                f[FirstName] = (n[1].toString() + u' ' + n[2].toString()).trimmed();
            named = true;
        }
        // Titles before and after the name have no field.
        stored = n[3].isEmpty() && n[4].isEmpty();
    } else if (same(name, "FN")) {
        // The name to show; only a card without N is named by it.
        if (!named) {
            const QStringView full = single();
            qsizetype blank = full.size() - 1;
            while (blank >= 0 && !full[blank].isSpace())
                --blank;
            put(f[FirstName], blank < 0 ? QStringView() : full.first(blank).trimmed());
            put(f[Surname], full.sliced(blank + 1).trimmed());
        }
    } else if (same(name, "ADR")) {
        const Parts a = components(text, escapes);
        const bool first = f[Street].isEmpty() && f[Postcode].isEmpty() && f[Town].isEmpty() &&
                           f[Country].isEmpty();
        if (first) {
            put(f[Street], a[2]);
            put(f[Town], a[3]);
            put(f[Postcode], a[5]);
            put(f[Country], a[6]);
        }
        // A post box, an extended address, a region, or a second address.
        stored = first && a[0].isEmpty() && a[1].isEmpty() && a[4].isEmpty();
    } else if (same(name, "TEL")) {
        QStringView number = single();
        if (p.uri && number.startsWith(u"tel:", Qt::CaseInsensitive))
            number = number.sliced(4).trimmed();
        if (p.types & FaxType)
            stored = intoFirstFree(f, {Fax}, number);
        else if (p.types & CellType)
            stored = intoFirstFree(f, {Mobile1, Mobile2, Mobile3}, number);
        else if (p.types & WorkType)
            stored = intoFirstFree(f, {WorkPhone}, number);
        else if (p.types & HomeType)
            stored = intoFirstFree(f, {HomePhone}, number);
        else
            stored = intoFirstFree(f, {HomePhone, WorkPhone, Mobile1, Mobile2, Mobile3}, number);
    } else if (same(name, "EMAIL")) {
        stored = intoFirstFree(f, {Mail1, Mail2, Mail3}, single());
    } else if (same(name, "URL")) {
        stored = intoFirstFree(f, {Web}, single());
    } else if (same(name, "BDAY")) {
        card.birthday = DateOfBirth(single());
        stored = card.birthday.isValid();
    } else if (same(name, "IMPP")) {
        QStringView handle = single();
        const qsizetype colon = handle.indexOf(u':');
        const QByteArray scheme = colon < 0 ? QByteArray() : handle.first(colon).toLatin1();
        int field = messengerField(p.serviceType);
        if (field < 0)
            field = messengerField(scheme);
        if (colon >= 0 && messengerField(scheme) >= 0)
            handle = handle.sliced(colon + 1).trimmed();
        stored = field >= 0 && intoFirstFree(f, {Field(field)}, handle);
    } else if (const int messenger = name.size() > 2 && same(name.first(2), "X-")
                                         ? messengerField(name.sliced(2))
                                         : -1;
               messenger >= 0) {
        stored = intoFirstFree(f, {Field(messenger)}, single());
    } else {
        stored = kAboutTheCard.contains(name.toByteArray().toUpper());
    }
    if (!stored)
        card.leftOut.append(QString::fromLatin1(name).toUpper());
}

template <qsizetype N> bool isLine(QByteArrayView line, const char (&text)[N]) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (!line.isEmpty() && (blank(line.front()) || blank(line.back())))
        line = line.trimmed();
    return same(line, text);
}

// The lines of a card written into room made for them beforehand (see
// writeCard): UTF-8, each line folded at 75 bytes without cutting a
// character when end() ends it.
class TCardWriter {
public:
    explicit TCardWriter(char* out) : m_out(out), m_line(out) {}
    // Bytes of ASCII as they are.
    TCardWriter& ascii(QByteArrayView bytes) {
        std::memcpy(m_out, bytes.data(), std::size_t(bytes.size()));
        m_out += bytes.size();
        return *this;
    }
    // A text value: backslashes, commas, semicolons and line breaks escaped.
    TCardWriter& text(QStringView value);
    // Two names as one, a blank between them, blanks around them left out.
    TCardWriter& fullName(QStringView first, QStringView surname);
    void end();
    char* out() const { return m_out; }

private:
    char* m_out;
    char* m_line; // where the line being written starts
};

// ASCII that a text value escapes.
constexpr auto kEscaped = [] {
    std::array<bool, 128> escaped{};
    for (const char c : {'\\', ',', ';', '\r', '\n'})
        escaped[std::size_t(c)] = true;
    return escaped;
}();

TCardWriter& TCardWriter::text(QStringView value) {
    char* out = m_out;
    const char16_t* const units = value.utf16();
    for (qsizetype i = 0; i < value.size(); ++i) {
        char32_t c = units[i];
        if (c < 0x80) {
            if (kEscaped[c]) {
                if (c == u'\r' || c == u'\n') {
                    if (c == u'\r' && i + 1 < value.size() && units[i + 1] == u'\n')
                        ++i;
                    c = u'n';
                }
                *out++ = '\\';
            }
            *out++ = char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < value.size() &&
            QChar::isLowSurrogate(units[i + 1]))
            c = QChar::surrogateToUcs4(char16_t(c), units[++i]);
        else if (QChar::isSurrogate(c))
            c = QChar::ReplacementCharacter;
        if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *out++ = char(0xE0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3F));
        } else {
            *out++ = char(0xF0 | (c >> 18));
            *out++ = char(0x80 | ((c >> 12) & 0x3F));
            *out++ = char(0x80 | ((c >> 6) & 0x3F));
        }
        *out++ = char(0x80 | (c & 0x3F));
    }
    m_out = out;
    return *this;
}

TCardWriter& TCardWriter::fullName(QStringView first, QStringView surname) {
    // As (first + " " + surname).trimmed() would give it.
    while (!first.isEmpty() && first.front().isSpace())
        first = first.sliced(1);
    while (!surname.isEmpty() && surname.back().isSpace())
        surname.chop(1);
    if (first.isEmpty())
        return text(surname.trimmed());
    if (surname.isEmpty())
        return text(first.trimmed());
    return text(first).ascii(" ").text(surname);
}

void TCardWriter::end() {
    if (m_out - m_line > 75) {
        // Rare: the line moved aside, and written back with its folds.
        const std::string line(m_line, m_out);
        m_out = m_line;
        std::size_t start = 0, room = 75;
        while (line.size() - start > room) {
            std::size_t cut = start + room;
            while (cut > start && (uchar(line[cut]) & 0xC0) == 0x80)
                --cut;
            ascii(QByteArrayView(line).sliced(qsizetype(start), qsizetype(cut - start)));
            ascii("\r\n ");
            start = cut;
            room = 74; // after the fold's blank
        }
        ascii(QByteArrayView(line).sliced(qsizetype(start)));
    }
    ascii("\r\n");
    m_line = m_out;
}

// A card written onto the end of `card` by `write`, given a TCardWriter,
// whose values have `units` units of UTF-16 in all.
template <typename Write> void writeCard(QByteArray& card, qsizetype units, Write&& write) {
    const qsizetype had = card.size();
    // No unit takes more than three bytes, escaped or not; the lines' heads
    // and ends take less than a kilobyte; folds add three bytes to every 74.
    card.resize(had + 2 * (3 * units + 1024));
    TCardWriter writer(card.data() + had);
    write(writer);
    card.truncate(writer.out() - card.constData());
}

void writeBirthday(TCardWriter& card, QDate birthday) {
    if (birthday.isValid())
        card.ascii("BDAY:").ascii(birthday.toString(u"yyyyMMdd"_s).toLatin1()).end();
}

} // namespace

TVCardReader::TVCardReader(QIODevice& file, TextEncoding encoding) : m_lines(file, encoding) {}

bool TVCardReader::property(QByteArrayView& line, bool& tooLong) {
    QByteArrayView piece;
    do {
        if (!m_lines.next(piece))
            return false;
        ++m_line;
        if (m_line == 1 && piece.startsWith(kUtf8Bom))
            piece = piece.sliced(kUtf8Bom.size());
    } while (trim(piece).isEmpty());
    m_propertyLine = m_line;
    // Quoted-printable values of 2.1 go on after a line ending in "=".
    m_parameters = false;
    const qsizetype colon = valueStart(piece, &m_parameters);
    const bool printable = m_parameters && holds(piece.first(colon), "QUOTED-PRINTABLE");
    int following = m_lines.peek(piece);
    const auto goesOn = [&](QByteArrayView sofar) {
        return following == ' ' || following == '\t' ||
               (following >= 0 && printable && sofar.endsWith('='));
    };
    tooLong = piece.size() > kMostValue;
    if (!goesOn(piece)) {
        // Most lines: the line as it stands in the file.
        line = piece.first(std::min(piece.size(), kMostValue));
        m_colon = colon < line.size() ? colon : -1;
        return true;
    }
    m_joined.truncate(0);
    m_joined += piece.first(std::min(piece.size(), kMostValue));
    while (goesOn(m_joined)) {
        const bool soft = printable && m_joined.endsWith('=');
        m_lines.next(piece);
        ++m_line;
        if (soft)
            m_joined.chop(1);
        if (m_joined.size() + piece.size() > kMostValue)
            tooLong = true;
        else
            m_joined += soft ? piece : piece.sliced(1);
        following = m_lines.peek(piece);
    }
    line = m_joined;
    m_parameters = false;
    m_colon = valueStart(line, &m_parameters);
    return true;
}

bool TVCardReader::next(TCardContact& card) {
    // The fields' room is used again for the next card.
    for (QString& field : card.fields)
        if (!field.isEmpty())
            field.truncate(0);
    card.birthday = QDate();
    card.leftOut.clear();
    QByteArrayView line;
    bool tooLong = false;
    // The card's start; blank lines before it are nothing.
    if (!property(line, tooLong))
        return false;
    card.line = m_propertyLine;
    if (isLine(line, "END:VCARD"))
        throw TFormatError{TFormatError::Fault::EndWithoutCard, card.line};
    if (!isLine(line, "BEGIN:VCARD"))
        throw TFormatError{TFormatError::Fault::TextOutsideCard, card.line};
    bool escapes = true, named = false;
    for (;;) {
        if (!property(line, tooLong))
            throw TFormatError{TFormatError::Fault::CardWithoutEnd, card.line};
        if (isLine(line, "END:VCARD"))
            return true;
        if (isLine(line, "BEGIN:VCARD"))
            throw TFormatError{TFormatError::Fault::CardInCard, m_propertyLine};
        const qsizetype colon = m_colon;
        if (colon < 0)
            continue; // a line without a value says nothing
        Property p;
        readParameters(line.first(colon), m_parameters, p);
        const bool version = same(p.name, "VERSION");
        if (version)
            escapes = line.sliced(colon + 1).trimmed() != "2.1";
        if (tooLong || same(p.encoding, "B") || same(p.encoding, "BASE64")) {
            card.leftOut.append(QString::fromLatin1(p.name).toUpper());
            continue;
        }
        if (version)
            continue; // says nothing of the person
        p.value = line.sliced(colon + 1);
        mapProperty(p, escapes, card, named, m_text);
    }
}

QDate DateOfBirth(QStringView text) {
    QString day = text.trimmed().toString();
    day = day.section(u'T', 0, 0).remove(u' ');
    for (const QString& pattern : {u"yyyy-MM-dd"_s, u"yyyyMMdd"_s, u"d.M.yyyy"_s, u"M/d/yyyy"_s})
        if (const QDate date = QDate::fromString(day, pattern); date.isValid())
            return date;
    return QDate();
}

qint64 CountBirthdays(QIODevice& file, TextEncoding encoding) {
    TLineReader lines(file, encoding);
    QByteArrayView line;
    qint64 count = 0;
    while (lines.next(line)) {
        qsizetype end = 0;
        while (end < line.size() && line[end] != ':' && line[end] != ';')
            ++end;
        count += same(withoutGroup(line.first(end)), "BDAY");
    }
    return count;
}

bool LooksLikeVCard(QByteArrayView start) {
    if (start.startsWith(kUtf8Bom))
        start = start.sliced(kUtf8Bom.size());
    // UTF-16: every other byte naught.
    QByteArray plain;
    for (const char c : start)
        if (c != '\0')
            plain += c;
    return plain.trimmed().left(11).toUpper().startsWith("BEGIN:VCARD");
}

void AppendVCard(QByteArray& card, const TContactValues& f, QDate birthday) {
    qsizetype units = 0;
    for (const QString& value : f)
        units += value.size();
    // FN and N repeat the names.
    units += f[FirstName].size() + f[Surname].size();
    writeCard(card, units, [&](TCardWriter& w) {
        w.ascii("BEGIN:VCARD\r\nVERSION:4.0\r\n");
        w.ascii("FN:").fullName(f[FirstName], f[Surname]).end();
        w.ascii("N:").text(f[Surname]).ascii(";").text(f[FirstName]).ascii(";;;").end();
        if (!f[Street].isEmpty() || !f[Postcode].isEmpty() || !f[Town].isEmpty() ||
            !f[Country].isEmpty())
            w.ascii("ADR;TYPE=home:;;")
                .text(f[Street])
                .ascii(";")
                .text(f[Town])
                .ascii(";;")
                .text(f[Postcode])
                .ascii(";")
                .text(f[Country])
                .end();
        const std::pair<Field, QByteArrayView> phones[] = {
            {HomePhone, "TEL;TYPE=home,voice:"}, {WorkPhone, "TEL;TYPE=work,voice:"},
            {Mobile1, "TEL;TYPE=cell:"},         {Mobile2, "TEL;TYPE=cell:"},
            {Mobile3, "TEL;TYPE=cell:"},         {Fax, "TEL;TYPE=fax:"}};
        for (const auto& [field, head] : phones)
            if (!f[field].isEmpty())
                w.ascii(head).text(f[field]).end();
        for (const Field field : {Mail1, Mail2, Mail3})
            if (!f[field].isEmpty())
                w.ascii("EMAIL:").text(f[field]).end();
        if (!f[Web].isEmpty())
            w.ascii("URL:").text(f[Web]).end();
        for (const Messenger& m : kMessengers)
            if (!f[m.field].isEmpty())
                w.ascii(m.property).text(f[m.field]).end();
        writeBirthday(w, birthday);
        w.ascii("END:VCARD\r\n");
    });
}

QByteArray VCardOf(const TContactValues& fields, QDate birthday) {
    QByteArray card;
    AppendVCard(card, fields, birthday);
    return card;
}

QByteArray BirthdayVCardOf(const QString& name, QDate birthday) {
    QByteArray card;
    writeCard(card, name.size(), [&](TCardWriter& w) {
        w.ascii("BEGIN:VCARD\r\nVERSION:4.0\r\n");
        w.ascii("FN:").text(QStringView(name).trimmed()).end();
        writeBirthday(w, birthday);
        w.ascii("END:VCARD\r\n");
    });
    return card;
}
