#pragma once

#include <QString>

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
inline constexpr char16_t kBirthdays[] =
    u"CREATE TABLE narodky([id] INTEGER PRIMARY KEY, [meno] varchar(30),[poradie] datetime,"
    u"[narodenie] datetime,[viditelnost] INTEGER);";
} // namespace Schema

// What a record kind shares between its window, its editors and its dialogs:
// its database file and its current group (table name and caption).
struct TModuleState {
    QString file;
    QString table;
    QString caption;
    // The record-table column list of the kind; empty for birthdays.
    QString columns;
    // The view file of its window.
    QString view;
};

// The five record kinds and their files.
struct DataModules {
    TModuleState adresar{QStringLiteral("data/Addressbook.dbf"), QStringLiteral("mojekontakty"), {},
                         QString::fromUtf16(Schema::kAddressBookColumns),
                         QStringLiteral("data/Addressbook.ini")};
    TModuleState dennik{QStringLiteral("data/Diary.dbf"), QStringLiteral("mojdennik"), {},
                        QString::fromUtf16(Schema::kJournalColumns), QStringLiteral("data/Diary.ini")};
    TModuleState diar{QStringLiteral("data/Reminders.dbf"), QStringLiteral("mojdiar"), {},
                      QString::fromUtf16(Schema::kDiaryColumns), QStringLiteral("data/Reminders.ini")};
    TModuleState poznamky{QStringLiteral("data/Notes.dbf"), QStringLiteral("mojepoznamky"), {},
                          QString::fromUtf16(Schema::kNotesColumns), QStringLiteral("data/Notes.ini")};
    TModuleState narodky{QStringLiteral("data/Birth.dbf"), QStringLiteral("narodky"), {}, {},
                         QStringLiteral("data/Birth.ini")};
};

// Captions of the four default groups in the current language.
struct DefaultCaptions {
    QString adresar, dennik, diar, poznamky;
};

// The definition of a group table: "CREATE TABLE " + name + column list.
QString GroupTableDefinition(const QString& table, const QString& columns);

// Creates the data folder and every missing database file with its catalogue
// and default group, and makes each default group its module's current group.
// Each file's catalogue, default table and catalogue row are created in one
// transaction: all of them or none. Throws ESQLiteException.
void Vytvorsubory(DataModules& modules, const DefaultCaptions& captions);
