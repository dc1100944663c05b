#pragma once

#include "formaterror.h"
#include "textfile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <array>

// A contact as the address book keeps it: its 24 fields in their fixed
// order (first name, surname, street, postcode, town, country, home and
// work phone, three mobiles, fax, three e-mails, web, ICQ, Skype, IRC,
// Jabber, MSN, Yahoo, AIM, Gadu-Gadu).
using TContactValues = std::array<QString, 24>;

// A card read from a vCard file: the fields it fills, the birthday when it
// has one, and the name of each value that has no field (a second address,
// a note, a photo, a fourth e-mail), once per value.
struct TCardContact {
    TContactValues fields;
    QDate birthday;
    QStringList leftOut;
    qint64 line = 0; // where the card begins
};

// Reads the cards of a vCard file (versions 2.1, 3.0 and 4.0) one at a
// time, holding one card: folded lines, quoted-printable and its soft line
// ends, CHARSET, escapes, groups (item1.TEL) and TYPE in all its spellings.
// A value in no CHARSET is UTF-8 when it is valid UTF-8, else Windows-1250.
// Binary values (photos, sounds, keys) are skipped unread and named as
// left out, as is any value longer than kMostValue.
class TVCardReader {
public:
    // Room for a value's text, used again value after value.
    using TextRoom = QVarLengthArray<char16_t, 256>;

    TVCardReader(QIODevice& file, TextEncoding encoding);
    // False at the end of the file. Throws TFormatError for a file whose
    // cards are broken, EFileError when it cannot be read.
    bool next(TCardContact& card);
    qint64 consumed() const { return m_lines.consumed(); }

private:
    // The next property line, unfolded, where its value starts (after
    // m_colon, -1 when it has none) and whether it has parameters
    // (m_parameters); false at the end of the file. The line is valid until
    // the next call.
    bool property(QByteArrayView& line, bool& tooLong);

    TLineReader m_lines;
    QByteArray m_joined; // a folded line unfolded
    TextRoom m_text;     // a value decoded
    qint64 m_line = 0;
    qint64 m_propertyLine = 0; // where the property last read starts
    qsizetype m_colon = -1;
    bool m_parameters = false; // whether parameters come before the colon
};

// A contact as a vCard 4.0 (UTF-8, CRLF, lines folded at 75 bytes), with
// its birthday when it is valid.
QByteArray VCardOf(const TContactValues& fields, QDate birthday = QDate());
// The same, put onto the end of `card`.
void AppendVCard(QByteArray& card, const TContactValues& fields, QDate birthday = QDate());
// A person of the birthdays list as a vCard 4.0: the name and BDAY.
QByteArray BirthdayVCardOf(const QString& name, QDate birthday);

// A date of birth as other programs write it: yyyy-mm-dd or yyyymmdd (a
// time after it left aside), d.m.yyyy, or m/d/yyyy; invalid when it is none.
QDate DateOfBirth(QStringView text);
// How many dates of birth (BDAY) a vCard file holds, from where it stands.
qint64 CountBirthdays(QIODevice& file, TextEncoding encoding);

// Whether a file's start looks like a vCard file (BEGIN:VCARD first).
bool LooksLikeVCard(QByteArrayView start);
