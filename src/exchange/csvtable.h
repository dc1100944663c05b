#pragma once

#include "formaterror.h"
#include "textfile.h"

#include <QStringList>
#include <memory>
#include <span>

struct csv_parser;

// Reads a table of comma-separated values (RFC 4180) row by row, holding
// one row: quoted values with separators, doubled quotes and line breaks
// inside. Text in Windows-1250 or UTF-8 as the file's encoding says (a
// UTF-16 file's lines come as UTF-8); a BOM is not part of the first value.
class TCsvReader {
public:
    TCsvReader(QIODevice& file, TextEncoding encoding, char separator);
    ~TCsvReader();
    // False at the end of the file. Throws TFormatError for a quote never
    // closed or a value longer than kMostValue, EFileError when the file
    // cannot be read.
    bool next(QStringList& row);
    // The line the row last given starts on (from 1).
    qint64 line() const { return m_rowLine; }
    qint64 consumed() const { return m_lines.consumed(); }

private:
    static void field(void* bytes, size_t size, void* reader);
    static void rowEnd(int, void* reader);

    TLineReader m_lines;
    bool m_utf8;
    std::unique_ptr<csv_parser> m_parser;
    QList<QStringList> m_ready; // rows ended by the last line fed
    QStringList m_row;
    bool m_inRow = false;
    bool m_ended = false;
    bool m_tooLong = false;
    qint64 m_line = 0, m_rowLine = 0, m_startLine = 0;
};

// The separator of a table whose first line this is: the one of comma,
// semicolon and tab it holds most often outside quotes (a comma when none).
char CsvSeparator(const QString& firstLine);

// A header row's columns as the fields of a contact they feed (0 to 23),
// kBirthdayColumn, or -1 for none: by the names mail programs and phones
// give them in English and Slovak, and by `labels`, the program's own 24
// field names (in any language it writes them). Each field is fed by one
// column at most, the first.
inline constexpr int kBirthdayColumn = 24;
QList<int> CsvHeaderMap(const QStringList& header, const QStringList& labels);

// One row of a table as RFC 4180 writes it: values with a separator, a
// quote or a line break quoted, quotes doubled; CRLF at the end.
QByteArray CsvRow(const QStringList& values);
// The same, put onto the end of `row`.
void AppendCsvRow(QByteArray& row, std::span<const QString> values);
