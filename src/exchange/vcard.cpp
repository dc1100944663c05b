#include "vcard.h"

#include "storage/text1250.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>

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
    std::initializer_list<const char*> names; // lower case
};
const Messenger kMessengers[] = {
    {Icq, {"icq"}},
    {Skype, {"skype", "skype-username", "callto"}},
    {Irc, {"irc", "ircs"}},
    {Jabber, {"jabber", "xmpp", "google-talk", "gtalk"}},
    {Msn, {"msn", "msnim", "windows-live"}},
    {Yahoo, {"yahoo", "ymsgr"}},
    {Aim, {"aim"}},
    {GaduGadu, {"gadugadu", "gadu-gadu", "gg", "gadu"}},
};

int messengerField(QByteArrayView name) {
    for (const Messenger& m : kMessengers)
        for (const char* known : m.names)
            if (name.compare(QByteArrayView(known), Qt::CaseInsensitive) == 0)
                return m.field;
    return -1;
}

// Bytes of a value as text: by the CHARSET the card names, else UTF-8 when
// they are valid UTF-8, else Windows-1250.
QString decodeText(QByteArrayView bytes, const QByteArray& charset) {
    if (!charset.isEmpty()) {
        const QByteArray name = charset.toUpper();
        if (name == "WINDOWS-1250" || name == "CP1250")
            return Cp1250::decode(bytes);
        // Any other Unicode form named is read as UTF-8: a value's bytes in
        // UTF-16 cannot stand in a line of text.
        if (!name.startsWith("UTF")) {
            QStringDecoder decoder(name.constData());
            if (decoder.isValid())
                return decoder.decode(bytes);
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? Cp1250::decode(bytes) : text;
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
// its escapes undone (\n a line break; in version 2.1 only \; is one).
QStringList components(const QString& value, bool escapes) {
    if (!value.contains(u'\\'))
        return value.split(u';');
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            if (next == u';' || (escapes && (next == u',' || next == u'\\'))) {
                parts.last() += next;
                ++i;
                continue;
            }
            if (escapes && (next == u'n' || next == u'N')) {
                parts.last() += u'\n';
                ++i;
                continue;
            }
        }
        if (c == u';')
            parts.append(QString());
        else
            parts.last() += c;
    }
    return parts;
}

// A property line taken apart.
struct Property {
    QByteArray name;        // upper case, without its group
    QSet<QByteArray> types; // lower case
    QByteArray encoding, charset, value, serviceType;
    bool uri = false;
};

// Where the value starts: the first colon outside double quotes.
qsizetype valueStart(QByteArrayView line) {
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

// The parameters: NAME=VALUE,VALUE or, in 2.1, a bare TYPE or ENCODING.
void readParameters(QByteArrayView head, Property& p) {
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"')
            quoted = !quoted;
        if (i == head.size() || (head[i] == ';' && !quoted)) {
            parts.append(head.sliced(start, i - start).toByteArray());
            start = i + 1;
        }
    }
    QByteArray name = parts.takeFirst().trimmed().toUpper();
    if (const qsizetype dot = name.lastIndexOf('.'); dot >= 0)
        name = name.mid(dot + 1);
    p.name = name;
    for (const QByteArray& part : parts) {
        const qsizetype equals = part.indexOf('=');
        const QByteArray key = (equals < 0 ? QByteArray() : part.left(equals)).trimmed().toUpper();
        QByteArray value = (equals < 0 ? part : part.mid(equals + 1)).trimmed();
        value.replace('"', QByteArray());
        const QByteArray upper = value.toUpper();
        if (key == "ENCODING" ||
            (key.isEmpty() && (upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" ||
                               upper == "8BIT" || upper == "7BIT")))
            p.encoding = upper;
        else if (key == "CHARSET")
            p.charset = value;
        else if (key == "VALUE")
            p.uri = upper == "URI";
        else if (key == "X-SERVICE-TYPE")
            p.serviceType = value;
        else if (key == "TYPE" || key.isEmpty())
            for (const QByteArray& type : value.split(','))
                p.types.insert(type.trimmed().toLower());
    }
}

// A date of birth: yyyy-mm-dd or yyyymmdd, with or without a time after it.
QDate birthday(const QString& value) {
    const QString day = value.section(u'T', 0, 0).trimmed();
    QDate date = QDate::fromString(day, u"yyyy-MM-dd"_s);
    if (!date.isValid())
        date = QDate::fromString(day, u"yyyyMMdd"_s);
    return date;
}

// Puts a value into the first free field of those listed; false when all
// are taken.
bool intoFirstFree(TContactValues& fields, std::initializer_list<Field> places,
                   const QString& value) {
    for (const Field place : places)
        if (fields[place].isEmpty()) {
            fields[place] = value;
            return true;
        }
    return false;
}

// The value of a card's property put into its field, or named as left out.
void mapProperty(const Property& p, bool escapes, TCardContact& card, bool& named) {
    QString text = decodeText(
        p.encoding == "QUOTED-PRINTABLE" ? unquotePrintable(p.value) : p.value, p.charset);
    TContactValues& f = card.fields;
    const auto single = [&] {
        return text.contains(u'\\') ? components(text, escapes).join(u';').trimmed()
                                    : text.trimmed();
    };
    bool stored = true;
    if (p.name == "N") {
        const QStringList n = components(text, escapes);
        const QString surname = n.value(0).trimmed();
        const QString first = (n.value(1).trimmed() + u' ' + n.value(2).trimmed()).trimmed();
        // An empty N leaves the name to FN.
        if (!surname.isEmpty() || !first.isEmpty()) {
            f[Surname] = surname;
            f[FirstName] = first;
            named = true;
        }
        // Titles before and after the name have no field.
        stored = n.value(3).trimmed().isEmpty() && n.value(4).trimmed().isEmpty();
    } else if (p.name == "FN") {
        // The name to show; only a card without N is named by it.
        if (!named) {
            const QString full = single();
            qsizetype blank = full.size() - 1;
            while (blank >= 0 && !full[blank].isSpace())
                --blank;
            f[FirstName] = blank < 0 ? QString() : full.left(blank).trimmed();
            f[Surname] = full.mid(blank + 1).trimmed();
        }
    } else if (p.name == "ADR") {
        const QStringList a = components(text, escapes);
        const bool first = f[Street].isEmpty() && f[Postcode].isEmpty() && f[Town].isEmpty() &&
                           f[Country].isEmpty();
        if (first) {
            f[Street] = a.value(2).trimmed();
            f[Town] = a.value(3).trimmed();
            f[Postcode] = a.value(5).trimmed();
            f[Country] = a.value(6).trimmed();
        }
        // A post box, an extended address, a region, or a second address.
        stored = first && a.value(0).trimmed().isEmpty() && a.value(1).trimmed().isEmpty() &&
                 a.value(4).trimmed().isEmpty();
    } else if (p.name == "TEL") {
        QString number = single();
        if (p.uri && number.startsWith(u"tel:"_s, Qt::CaseInsensitive))
            number = number.mid(4);
        const auto has = [&p](const char* type) { return p.types.contains(type); };
        if (has("fax"))
            stored = intoFirstFree(f, {Fax}, number);
        else if (has("cell") || has("mobile") || has("iphone"))
            stored = intoFirstFree(f, {Mobile1, Mobile2, Mobile3}, number);
        else if (has("work"))
            stored = intoFirstFree(f, {WorkPhone}, number);
        else if (has("home"))
            stored = intoFirstFree(f, {HomePhone}, number);
        else
            stored = intoFirstFree(f, {HomePhone, WorkPhone, Mobile1, Mobile2, Mobile3}, number);
    } else if (p.name == "EMAIL") {
        stored = intoFirstFree(f, {Mail1, Mail2, Mail3}, single());
    } else if (p.name == "URL") {
        stored = intoFirstFree(f, {Web}, single());
    } else if (p.name == "BDAY") {
        card.birthday = birthday(single());
        stored = card.birthday.isValid();
    } else if (p.name == "IMPP") {
        QString handle = single();
        const qsizetype colon = handle.indexOf(u':');
        const QByteArray scheme = colon < 0 ? QByteArray() : handle.left(colon).toLatin1();
        int field = messengerField(p.serviceType);
        if (field < 0)
            field = messengerField(scheme);
        if (colon >= 0 && messengerField(scheme) >= 0)
            handle = handle.mid(colon + 1);
        stored = field >= 0 && intoFirstFree(f, {Field(field)}, handle);
    } else if (p.name.startsWith("X-") && messengerField(p.name.mid(2)) >= 0) {
        stored = intoFirstFree(f, {Field(messengerField(p.name.mid(2)))}, single());
    } else {
        stored = kAboutTheCard.contains(p.name);
    }
    if (!stored)
        card.leftOut.append(QString::fromLatin1(p.name));
}

bool isLine(QByteArrayView line, const char* text) {
    return line.trimmed().compare(QByteArrayView(text), Qt::CaseInsensitive) == 0;
}

// A value for a text property: backslashes, commas, semicolons and line
// breaks escaped.
QString escaped(const QString& value) {
    const auto plain = [](QChar c) {
        return c != u'\\' && c != u',' && c != u';' && c != u'\r' && c != u'\n';
    };
    if (std::all_of(value.begin(), value.end(), plain))
        return value;
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' || c == u',' || c == u';')
            text += u'\\';
        if (c == u'\r') {
            if (i + 1 < value.size() && value[i + 1] == u'\n')
                ++i;
            text += u"\\n"_s;
        } else if (c == u'\n') {
            text += u"\\n"_s;
        } else {
            text += c;
        }
    }
    return text;
}

// A property line in UTF-8, folded at 75 bytes without cutting a character.
void appendLine(QByteArray& card, const QString& line) {
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0, room = 75;
    while (bytes.size() - start > room) {
        qsizetype cut = start + room;
        while (cut > start && (uchar(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        card += bytes.mid(start, cut - start);
        card += "\r\n ";
        start = cut;
        room = 74; // after the fold's blank
    }
    card += bytes.mid(start);
    card += "\r\n";
}

} // namespace

TVCardReader::TVCardReader(QIODevice& file, TextEncoding encoding) : m_lines(file, encoding) {}

bool TVCardReader::physical(QByteArrayView& line) {
    if (m_holding) {
        m_holding = false;
        line = m_held;
        return true;
    }
    if (!m_lines.next(line))
        return false;
    ++m_line;
    if (m_line == 1 && line.startsWith(kUtf8Bom))
        line = line.sliced(kUtf8Bom.size());
    return true;
}

bool TVCardReader::property(QByteArray& line, bool& tooLong) {
    QByteArrayView piece;
    tooLong = false;
    do {
        if (!physical(piece))
            return false;
    } while (piece.trimmed().isEmpty());
    if (piece.size() > kMostValue) {
        tooLong = true;
        piece.truncate(kMostValue);
    }
    line = piece.toByteArray();
    // Quoted-printable values of 2.1 go on after a line ending in "=".
    const qsizetype colon = valueStart(line);
    const QByteArrayView head = QByteArrayView(line).first(colon < 0 ? 0 : colon);
    const bool printable =
        head.contains(';') && head.toByteArray().toUpper().contains("QUOTED-PRINTABLE");
    for (;;) {
        if (!m_lines.next(piece))
            break;
        ++m_line;
        const bool folded = !piece.isEmpty() && (piece[0] == ' ' || piece[0] == '\t');
        const bool soft = printable && line.endsWith('=');
        if (!folded && !soft) {
            m_held = piece.toByteArray();
            m_holding = true;
            break;
        }
        if (soft)
            line.chop(1);
        if (line.size() + piece.size() > kMostValue)
            tooLong = true;
        else
            line += soft ? piece : piece.sliced(1);
    }
    return true;
}

bool TVCardReader::next(TCardContact& card) {
    card = TCardContact();
    QByteArray line;
    bool tooLong = false;
    // The card's start; blank lines before it are nothing.
    if (!property(line, tooLong))
        return false;
    card.line = m_line - (m_holding ? 1 : 0);
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
            throw TFormatError{TFormatError::Fault::CardInCard, m_line - (m_holding ? 1 : 0)};
        const qsizetype colon = valueStart(line);
        if (colon < 0)
            continue; // a line without a value says nothing
        Property p;
        readParameters(QByteArrayView(line).first(colon), p);
        if (p.name == "VERSION")
            escapes = line.mid(colon + 1).trimmed() != "2.1";
        if (tooLong || p.encoding == "B" || p.encoding == "BASE64") {
            card.leftOut.append(QString::fromLatin1(p.name));
            continue;
        }
        p.value = line.mid(colon + 1);
        mapProperty(p, escapes, card, named);
    }
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

QByteArray VCardOf(const TContactValues& f, QDate birthday) {
    QByteArray card = "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    const QString full = (f[FirstName] + u' ' + f[Surname]).trimmed();
    appendLine(card, u"FN:"_s + escaped(full));
    appendLine(card, u"N:"_s + escaped(f[Surname]) + u';' + escaped(f[FirstName]) + u";;;"_s);
    if (!(f[Street] + f[Postcode] + f[Town] + f[Country]).isEmpty())
        appendLine(card, u"ADR;TYPE=home:;;"_s + escaped(f[Street]) + u';' + escaped(f[Town]) +
                             u";;"_s + escaped(f[Postcode]) + u';' + escaped(f[Country]));
    const std::pair<Field, const char16_t*> phones[] = {
        {HomePhone, u"home,voice"}, {WorkPhone, u"work,voice"}, {Mobile1, u"cell"},
        {Mobile2, u"cell"},         {Mobile3, u"cell"},         {Fax, u"fax"}};
    for (const auto& [field, type] : phones)
        if (!f[field].isEmpty())
            appendLine(card, u"TEL;TYPE="_s + QString::fromUtf16(type) + u':' + escaped(f[field]));
    for (const Field field : {Mail1, Mail2, Mail3})
        if (!f[field].isEmpty())
            appendLine(card, u"EMAIL:"_s + escaped(f[field]));
    if (!f[Web].isEmpty())
        appendLine(card, u"URL:"_s + escaped(f[Web]));
    for (const Messenger& m : kMessengers)
        if (!f[m.field].isEmpty())
            appendLine(card, u"X-"_s + QString::fromLatin1(*m.names.begin()).toUpper() + u':' +
                                 escaped(f[m.field]));
    if (birthday.isValid())
        appendLine(card, u"BDAY:"_s + birthday.toString(u"yyyyMMdd"_s));
    card += "END:VCARD\r\n";
    return card;
}

QByteArray BirthdayVCardOf(const QString& name, QDate birthday) {
    QByteArray card = "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    appendLine(card, u"FN:"_s + escaped(name.trimmed()));
    if (birthday.isValid())
        appendLine(card, u"BDAY:"_s + birthday.toString(u"yyyyMMdd"_s));
    card += "END:VCARD\r\n";
    return card;
}
