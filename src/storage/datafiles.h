#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <span>

// The database files, their table definitions and the creation of what is
// missing. Paths are relative to the home folder, which is the working folder.

namespace Schema {
inline constexpr char16_t kCatalogue[] =
    u"CREATE TABLE tables([id] INTEGER PRIMARY KEY, [nametable] varchar(30),"
    u"[captiontable] varchar(30),[viditelnost] INTEGER);";
inline constexpr char16_t kJournalColumns[] =
    u"([id] INTEGER PRIMARY KEY, [datum] date,[obsah] text,[viditelnost] integer);";
inline constexpr char16_t kDiaryColumns[] =
    u"([id] INTEGER PRIMARY KEY, [datum] date,[avizo] datetime,[alarm] INTEGER,"
    u"[predmet] warchar(30),[obsah] text,[viditelnost] integer);";
inline constexpr char16_t kNotesColumns[] =
    u"([id] INTEGER PRIMARY KEY, [predmet] varchar(30),[obsah] text,[datum] datetime,"
    u"[datumzmeny] datetime,[viditelnost] integer);";
inline constexpr char16_t kAddressBookColumns[] =
    u"([id] INTEGER PRIMARY KEY, [meno] varchar(20),[priezvisko] varchar(30),[ulica] varchar(30),"
    u"[psc] varchar(15),[mesto] varchar(30), [stat] varchar(20),"
    u"[tel1] varchar(30),[tel2] varchar(30),[mob1] varchar(30),[mob2] varchar(30),"
    u"[mob3] varchar(30),[fax] varchar(30),"
    u"[mail1] varchar(30),[mail2] varchar(30),[mail3] varchar(30),[web] varchar(30),"
    u"[icq] varchar(20),[skype] varchar(30),[irc] varchar(30),[jabber] varchar(30),"
    u"[msn] varchar(30),[yahoo] varchar(30),[ain] varchar(30),[gadugadu] varchar(30),"
    u"[viditelnost] INTEGER);";
inline constexpr char16_t kBirthdayColumns[] =
    u"([id] INTEGER PRIMARY KEY, [meno] varchar(30),[poradie] datetime,"
    u"[narodenie] datetime,[viditelnost] INTEGER);";
} // namespace Schema

// What a record kind shares between its window, its editors and its dialogs:
// its database file and its current group (table name and caption).
struct TModuleState {
    QString file;
    QString table;
    QString caption;
    // The kind's default group, which a view file naming no group gives; for
    // a kind without groups, its one table.
    QString defaultTable;
    // The record-table column list of the kind.
    QString columns;
    // Whether the file holds groups listed in a catalogue (all kinds but the
    // birthdays, which keep one table).
    bool grouped = true;
    // The view file of its window.
    QString view;
    // Pieces of SQL that filter and order its list (notes, address book).
    QString filter = QStringLiteral("where viditelnost=1");
    QString order = QStringLiteral("ORDER BY id");
    QString direction;
};

// A piece of SQL a view file holds (a filter, an order, a direction) when it
// is one the program itself writes, else the fallback: what a damaged or
// foreign view file holds never reaches a query.
inline QString KnownFragment(const QString& text, const QStringList& written,
                             const QString& fallback) {
    return written.contains(text) ? text : fallback;
}

inline TModuleState MakeModule(const char16_t* file, const char16_t* table, const char16_t* columns,
                               const char16_t* view, const char16_t* order = u"ORDER BY id",
                               bool grouped = true) {
    TModuleState module;
    module.grouped = grouped;
    module.file = QString::fromUtf16(file);
    module.table = QString::fromUtf16(table);
    module.defaultTable = module.table;
    module.columns = QString::fromUtf16(columns);
    module.view = QString::fromUtf16(view);
    module.order = QString::fromUtf16(order);
    return module;
}

// The address book's choices, kept beside its view state and in its view
// file: the first-run flag and 29 option values. Values 0 to 23 are the
// field flags (the field is chosen), 24 the editor option (editors show only
// chosen fields), 25 first name first, 26 surname first, 27 the sort key (0
// order of insertion, k the field k - 1), 28 the reverse flag. The values at
// start are the defaults.
struct TAddressBookOptions {
    enum : int { EditorOption = 24, FirstNameFirst, SurnameFirst, SortKey, Reverse, Count };
    int firstRun = 0;
    std::array<int, Count> values = Defaults();

    static constexpr std::array<int, Count> Defaults() {
        std::array<int, Count> v{};
        v.fill(1);
        v[FirstNameFirst] = 0;
        v[SortKey] = 2;
        v[Reverse] = 0;
        return v;
    }
};

// The five record kinds' files and current groups. The shell's registry of
// kinds says which of them each kind uses, with its default caption.
struct DataModules {
    TModuleState adresar =
        MakeModule(u"data/Addressbook.dbf", u"mojekontakty", Schema::kAddressBookColumns,
                   u"data/Addressbook.ini", u"ORDER BY priezvisko");
    TModuleState dennik =
        MakeModule(u"data/Diary.dbf", u"mojdennik", Schema::kJournalColumns, u"data/Diary.ini");
    TModuleState diar =
        MakeModule(u"data/Reminders.dbf", u"mojdiar", Schema::kDiaryColumns, u"data/Reminders.ini");
    TModuleState poznamky =
        MakeModule(u"data/Notes.dbf", u"mojepoznamky", Schema::kNotesColumns, u"data/Notes.ini");
    TModuleState narodky = MakeModule(u"data/Birth.dbf", u"narodky", Schema::kBirthdayColumns,
                                      u"data/Birth.ini", u"ORDER BY poradie", false);
    TAddressBookOptions adresarOptions;
};

// The definition of a group table: "CREATE TABLE " + name + column list.
QString GroupTableDefinition(const QString& table, const QString& columns);

class TSQLiteDatabase;
// Makes a grouped file's catalogue and its default group, named `caption`,
// in an open file that has neither.
void CreateCatalogue(TSQLiteDatabase& db, const TModuleState& module, const QString& caption);

// The catalogue id of the group whose table has exactly that name, 0 when
// there is none. A row left by a group emptied from the bin (3) counts only
// when no other row names the table.
qint64 CatalogueId(TSQLiteDatabase& db, const QString& table);

// Gives every diary group its two indexes, where one is missing: the day
// with the moment (a day's list), and the reminder mark with the moment (the
// search for the pending reminder). Plain indexes, named <table>_den and
// <table>_alarm: they change no table definition, and copies of the program
// that do not know them read the files as before. Groups emptied from the
// bin have no table and are passed over.
void EnsureDiaryIndexes(TSQLiteDatabase& db);

// A data file that could not be opened or made, and why.
struct TDataFileFailure {
    QString file;
    QString message;
};

// Creates a kind's database file where it is missing, or what it lacks: for
// a grouped kind the catalogue and the default group named `caption`, in one
// transaction (all of them or none), for the others its table. A file with
// a catalogue is left as it is. Throws ESQLiteException.
void CreateDataFile(const TModuleState& module, const QString& caption);

// A data file to make, and its default group's caption (none without groups).
struct TDataFileRequest {
    TModuleState* module;
    QString caption;
};

// Creates the data folder and every missing database file, and makes each
// default group its module's current group, with the caption asked for. A
// file that cannot be opened (damaged, locked by another program) is left as
// it is and the others are made; the answer lists the files that failed.
QList<TDataFileFailure> Vytvorsubory(std::span<const TDataFileRequest> files);
