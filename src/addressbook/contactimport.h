#pragma once

#include "exchange/formaterror.h"
#include "exchange/textfile.h"
#include "exchange/vcard.h"
#include "records/importrun.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class TFormadresar;
class TLanguageTable;
class TSQLiteDatabase;
class TSQLitePrepared;
class TSQLiteTransaction;

// A file's lines hold at most this many columns, and the column map has
// this many positions; columns and positions past it are ignored.
inline constexpr int kImportColumns = 100;

// The import state, one for the program: what the user chose between the
// open dialog and the import itself.
struct TImportState {
    char separator = ';';
    QString fileName;
    // The values of the file's first line; column 0 is always empty.
    QStringList firstColumns;
    int columnCount = 0;
    // For each position of the map, the column (from 1) that feeds it, 0
    // for none. Positions 0 to 23 feed the contact's 24 fields.
    std::array<int, kImportColumns> map{};
    int selected = 0;
    // Not stored in any file; kept for the whole run.
    bool skipHeader = true;
    // Another program's file: its dates of birth go into the birthdays too.
    bool addBirthdays = false;
    // The file's text; a reader gives UTF-16 to the import as UTF-8.
    TextEncoding encoding = TextEncoding::Cp1250;
    bool utf8() const { return encoding != TextEncoding::Cp1250; }

    // A fresh map for a first line of `columns` columns.
    void resetMap();
    // F1, Ctrl and Space of the configuration list; false when the map
    // stays as it was.
    bool Posunhore();
    bool Posundole();
    bool Pridajpole();
};

// Splits a line at every separator into columns 1, 2, ... (quotes mean
// nothing); column 0 is empty. Columns past the 100th are dropped. The
// columns replace what `columns` held.
void SplitImportLine(QByteArrayView line, char separator, QList<QByteArrayView>& columns);

// A value as the import stores it: a single blank becomes empty, and one
// leading blank is dropped.
QByteArrayView CleanImportValue(QByteArrayView value);

// The box's text for a file that holds no text.
QString NotTextMessage(const TLanguageTable& strings, const QString& fileName);

// The first line of a file, decoded as its encoding says.
QString FirstImportLine(const QString& fileName, TextEncoding encoding);

// Contacts read from another program's file (a vCard file, a table), one
// at a time.
class TContactSource {
public:
    virtual ~TContactSource() = default;
    // False at the end. Throws TFormatError or an Exception.
    virtual bool next(TCardContact& contact) = 0;
    virtual qint64 consumed() const = 0;
    // The name a date of birth that is not stored is counted by.
    virtual QString birthdayName() const = 0;
};
// Makes the source of a file opened for reading.
using TSourceMaker = std::function<std::unique_ptr<TContactSource>(QIODevice&)>;

// The cards of a vCard file.
TSourceMaker VCardSource(TextEncoding encoding);
// The rows of a table: each column's field (0 to 23, kBirthdayColumn, else
// none), the first row left out when it names the columns; a date of birth
// that cannot be read is counted by `birthdayName`.
TSourceMaker TableSource(TextEncoding encoding, char separator, QList<int> map, bool headerRow,
                         const QString& birthdayName);

// An import of one file into the address book's current group (see
// TImportRun): the delimited lines the state describes, or the contacts a
// source reads, with their dates of birth into the birthdays list when the
// state asks for it.
class TContactImport : public TImportRun {
    Q_OBJECT
public:
    TContactImport(TFormadresar& window, const TImportState& state,
                   TSourceMaker source = TSourceMaker());
    ~TContactImport() override;

protected:
    void open() override;
    bool step() override;
    void release() override;
    int progress() const override;
    QString failureText(const Exception& e) const override;
    QString faultText(const TFormatError& fault) const override;
    QString doneText() const override;

private:
    // One contact of a source, or one line of a delimited file.
    bool sourceStep();
    bool lineStep();
    // Opens the birthdays' file in the import's transaction.
    void openBirthdays();
    // A contact's date of birth into the birthdays list; false when it
    // cannot go there (a date to come, no name).
    bool addBirthday(const TCardContact& contact);

    TImportState m_state;
    QFile m_file;
    std::unique_ptr<TLineReader> m_reader;
    TSourceMaker m_makeSource;
    std::unique_ptr<TContactSource> m_source;
    // The names of the values that had no field, and how many of each.
    QMap<QString, int> m_leftOut;
    std::unique_ptr<TSQLitePrepared> m_insert;
    std::unique_ptr<TSQLitePrepared> m_insertBirthday;
    // The values of a contact in the files' code page, alive until the
    // insert ran; their room is used again.
    std::array<QByteArray, 24> m_converted;
    QList<QByteArrayView> m_columns;
    TCardContact m_contact;
    // The birthdays' names and dates (as stored) already listed.
    QSet<QByteArray> m_knownBirthdays;
    int m_birthdaysAdded = 0;
    int m_birthdaysKnown = 0;
    int m_line = 0;
    // Values that held characters the code page lacks, stored with "?".
    int m_lostValues = 0;
};
