#include "csvtable.h"

#include "storage/text1250.h"

#include <QHash>
#include <algorithm>
#include <csv.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A name as headers are compared: lower case, without accents, words
// parted by single blanks.
QString plainName(const QString& name) {
    QString plain;
    for (QChar c : name) {
        if (c.decompositionTag() == QChar::Canonical)
            c = c.decomposition().at(0);
        if (c.isLetterOrNumber())
            plain += c.toLower();
        else if (!plain.isEmpty() && !plain.endsWith(u' '))
            plain += u' ';
    }
    return plain.trimmed();
}

// The names other programs give the columns, as plainName gives them: the
// exports of the common mail programs and phone address books, in English
// and Slovak.
const QHash<QString, int>& knownNames() {
    static const QHash<QString, int> names = [] {
        // An aggregate, so that the lists live as long as the table.
        struct Names {
            int field;
            std::initializer_list<const char*> names;
        };
        static const Names fields[] = {
            {0, {"first name", "given name", "firstname", "meno", "krstne meno", "first"}},
            {1, {"last name", "family name", "surname", "lastname", "priezvisko", "last"}},
            {2,
             {"street", "home street", "home address", "address", "street address",
              "address 1 street", "ulica", "ulica domov", "adresa", "adresa domov"}},
            {3,
             {"postal code", "zip", "zip code", "zipcode", "postcode", "home postal code",
              "home zipcode", "home zip code", "address 1 postal code", "psc", "psc domov",
              "postove smerovacie cislo"}},
            {4, {"city", "town", "home city", "address 1 city", "mesto", "mesto domov", "obec"}},
            {5,
             {"country", "country region", "home country", "home country region",
              "address 1 country", "stat", "krajina", "krajina oblast domov", "stat domov"}},
            {6,
             {"home phone", "phone", "telephone", "home telephone", "phone 1 value", "telefon",
              "telefon domov", "telefon do domu", "domaci telefon"}},
            {7,
             {"business phone", "work phone", "office phone", "work telephone", "phone 2 value",
              "telefon do prace", "telefon praca", "telefon do zamestnania", "pracovny telefon"}},
            {8,
             {"mobile phone", "mobile", "cell phone", "cellular", "mobile number",
              "cellular number", "mobil", "mobilny telefon", "mobil 1", "mobile 1"}},
            {9, {"mobile 2", "mobil 2", "mobile phone 2"}},
            {10, {"mobile 3", "mobil 3", "mobile phone 3"}},
            {11, {"fax", "home fax", "business fax", "fax number", "fax domov", "fax do prace"}},
            {12,
             {"e mail", "email", "e mail address", "email address", "primary email", "e mail 1",
              "email 1", "e mail 1 value", "e mail 1 address", "e mailova adresa", "mail"}},
            {13,
             {"e mail 2", "email 2", "secondary email", "e mail 2 value", "e mail 2 address",
              "e mailova adresa 2"}},
            {14,
             {"e mail 3", "email 3", "e mail 3 value", "e mail 3 address", "e mailova adresa 3"}},
            {15,
             {"web page", "web", "website", "web site", "home page", "personal web page",
              "web page 1", "website 1 value", "webova stranka", "web adresa"}},
            {16, {"icq"}},
            {17, {"skype"}},
            {18, {"irc"}},
            {19, {"jabber", "xmpp", "google talk"}},
            {20, {"msn", "windows live"}},
            {21, {"yahoo", "yahoo messenger"}},
            {22, {"aim", "aol"}},
            {23, {"gadu gadu", "gadugadu"}},
            {kBirthdayColumn,
             {"birthday", "date of birth", "birth date", "narodeniny", "datum narodenia"}},
        };
        QHash<QString, int> all;
        for (const Names& known : fields)
            for (const char* name : known.names)
                all.insert(QString::fromLatin1(name), known.field);
        return all;
    }();
    return names;
}

int onlySpace(unsigned char c) {
    return c == ' ';
}

} // namespace

TCsvReader::TCsvReader(QIODevice& file, TextEncoding encoding, char separator)
    : m_lines(file, encoding), m_utf8(encoding != TextEncoding::Cp1250),
      m_parser(std::make_unique<csv_parser>()) {
    csv_init(m_parser.get(), 0);
    csv_set_delim(m_parser.get(), static_cast<unsigned char>(separator));
    // Blanks around a value go; in a table parted by tabs a tab is a
    // separator, not a blank (the parser's own test is quicker than a call).
    if (separator == '\t')
        csv_set_space_func(m_parser.get(), &onlySpace);
    // A value's room grows in steps of 64 KiB, not the parser's 128 bytes:
    // a long value is copied a few times, not thousands.
    csv_set_blk_size(m_parser.get(), 64 * 1024);
}

TCsvReader::~TCsvReader() {
    csv_free(m_parser.get());
}

void TCsvReader::field(void* bytes, size_t size, void* data) {
    // Called from the parser's C code: nothing may be thrown through it.
    auto* reader = static_cast<TCsvReader*>(data);
    if (size > size_t(kMostValue)) {
        reader->m_tooLong = true;
        return;
    }
    const QByteArrayView value(static_cast<const char*>(bytes), qsizetype(size));
    reader->m_row.append(reader->m_utf8 ? Utf8Text(value) : Cp1250::decode(value));
}

void TCsvReader::rowEnd(int, void* data) {
    auto* reader = static_cast<TCsvReader*>(data);
    const qsizetype columns = reader->m_row.size();
    reader->m_ready.append(std::move(reader->m_row));
    // The next row most likely has as many values.
    reader->m_row = QStringList();
    reader->m_row.reserve(columns);
    reader->m_inRow = false;
}

bool TCsvReader::next(QStringList& row) {
    while (m_ready.isEmpty()) {
        if (m_ended)
            return false;
        QByteArrayView line;
        if (!m_lines.next(line)) {
            m_ended = true;
            // Each line was ended: a row still open is inside a quote.
            if (m_inRow)
                throw TFormatError{TFormatError::Fault::QuoteNotClosed, m_startLine};
            csv_fini(m_parser.get(), &field, &rowEnd, this);
            continue;
        }
        ++m_line;
        if (m_line == 1 && m_utf8 && line.startsWith(kUtf8Bom))
            line = line.sliced(kUtf8Bom.size());
        if (!m_inRow && !line.isEmpty()) {
            m_inRow = true;
            m_startLine = m_line;
        }
        // In pieces, so that a value too long is stopped at its first
        // megabyte, whatever the line's length; a quoted value may also run
        // on over many lines.
        constexpr qsizetype kPiece = 64 * 1024;
        for (qsizetype at = 0; at < line.size(); at += kPiece) {
            const QByteArrayView piece = line.sliced(at, std::min(kPiece, line.size() - at));
            csv_parse(m_parser.get(), piece.data(), size_t(piece.size()), &field, &rowEnd, this);
            if (m_tooLong || m_parser->entry_pos > size_t(kMostValue))
                throw TFormatError{TFormatError::Fault::ValueTooLong, m_startLine};
        }
        csv_parse(m_parser.get(), "\n", 1, &field, &rowEnd, this);
        if (m_tooLong)
            throw TFormatError{TFormatError::Fault::ValueTooLong, m_startLine};
    }
    row = m_ready.takeFirst();
    m_rowLine = m_startLine;
    return true;
}

char CsvSeparator(const QString& firstLine) {
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : firstLine) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted)
            commas += c == u',', semicolons += c == u';', tabs += c == u'\t';
    }
    if (tabs > commas && tabs > semicolons)
        return '\t';
    return semicolons > commas ? ';' : ',';
}

QList<int> CsvHeaderMap(const QStringList& header, const QStringList& labels) {
    QHash<QString, int> names = knownNames();
    for (int field = 0; field < labels.size() && field < 24; ++field)
        names.insert(plainName(labels[field]), field);
    QList<int> map;
    QList<bool> taken(kBirthdayColumn + 1, false);
    for (const QString& column : header) {
        const int field = names.value(plainName(column), -1);
        if (field >= 0 && !taken[field]) {
            taken[field] = true;
            map.append(field);
        } else {
            map.append(-1);
        }
    }
    return map;
}

void AppendCsvRow(QByteArray& row, std::span<const QString> values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            row += ',';
        const QStringView value = values[i];
        const bool special = std::any_of(value.begin(), value.end(), [](QChar c) {
            return c == u',' || c == u'"' || c == u'\n' || c == u'\r' || c == u';' || c == u'\t';
        });
        // A row of one empty value is no blank line.
        if (!special && !(values.size() == 1 && value.isEmpty()) && !value.startsWith(u' ') &&
            !value.endsWith(u' ')) {
            AppendUtf8(row, value);
            continue;
        }
        row += '"';
        qsizetype start = 0;
        for (qsizetype quote; (quote = value.indexOf(u'"', start)) >= 0; start = quote + 1) {
            AppendUtf8(row, value.sliced(start, quote - start));
            row += "\"\"";
        }
        AppendUtf8(row, value.sliced(start));
        row += '"';
    }
    row += "\r\n";
}

QByteArray CsvRow(const QStringList& values) {
    QByteArray row;
    AppendCsvRow(row, std::span(values.constData(), std::size_t(values.size())));
    return row;
}
