#pragma once

// The texts of the language table by name. The values are the texts'
// numbers, which are the line numbers (from 0) of the language files, so
// they never change.
enum class Str : int {
    ProgramName = 0, // Velmorand 2.1

    // The record windows' menus.
    NotesMenu = 1,
    MyNotes = 2, // the notes' default group
    NewRecord = 3,
    EditRecord = 4,
    DeleteRecord = 5,
    RestoreRecords = 6,
    Export = 7,
    End = 8,
    Groups = 9,
    NewGroup = 10,
    RenameGroup = 11,
    SwitchGroup = 12,
    DeleteGroup = 13,
    RestoreGroups = 14,
    SortBy = 15,
    ByAddition = 16,
    BySubject = 17,
    Reversed = 18,

    // The editors.
    Subject = 19,
    Content = 20,
    Save = 21,
    EditingRecord = 22,
    SaveChanges = 23,
    Cancel = 24,
    Close = 25,

    // Messages, group dialogs, the status line.
    Warning = 26,
    NoSubject = 27,
    ConfirmDeleteRecord = 28,
    ReallyDeleteRecord = 29,
    EnterGroupName = 30,
    CreateGroup = 31,
    NoGroupName = 32,
    Change = 33,
    ConfirmDeleteGroup = 34,
    ReallyDeleteGroup = 35,
    NoRecords = 36,
    NoRecordsFound = 37,
    CannotExport = 38,
    ExportNotes = 39,
    TextFiles = 40,
    RecordCount = 41,
    GroupCount = 42,

    // The diary.
    DiaryMenu = 43,
    MyDiary = 44,
    View = 45,
    Today = 46,
    AllRecords = 47,
    ExportDiary = 48,
    Remind = 49,
    Error = 50,
    ReminderInThePast = 51,
    NoReminder = 52,
    Reminder = 53,
    ReminderFromDiary = 54,

    // The address book.
    AddressBookMenu = 55,
    MyContacts = 56,
    SendMail = 57,
    AddressBookOptions = 58,
    AddressBookWelcome = 59,
    AddressBookFirstRun = 60,
    AddressBookAdvice = 61,
    FirstName = 62,
    Surname = 63,
    Street = 64,
    Postcode = 65,
    Town = 66,
    Country = 67,
    HomePhone = 68,
    WorkPhone = 69,
    Mobile1 = 70,
    Mobile2 = 71,
    Mobile3 = 72,
    Fax = 73,
    Mail1 = 74,
    Mail2 = 75,
    Mail3 = 76,
    Web = 77,
    Icq = 78,
    Skype = 79,
    Irc = 80,
    Jabber = 81,
    Msn = 82,
    Yahoo = 83,
    Aim = 84,
    GaduGadu = 85,
    ChosenFieldsOnly = 86,
    SurnameFirst = 87,
    FirstNameFirst = 88,
    Ok = 89,
    ContactsSortBy = 90,
    ContactsByAddition = 91,
    ByFirstName = 92,
    BySurname = 93,
    ByStreet = 94,
    ByPostcode = 95,
    ByTown = 96,
    ByCountry = 97,
    ByHomePhone = 98,
    ByWorkPhone = 99,
    ByMobile1 = 100,
    ByMobile2 = 101,
    ByMobile3 = 102,
    ByFax = 103,
    ByMail1 = 104,
    ByMail2 = 105,
    ByMail3 = 106,
    ByWeb = 107,
    ExportAddressBook = 108,

    // The journal.
    JournalMenu = 109,
    MyJournal = 110,
    EntryExists = 111,
    OneEntryPerDay = 112,
    FindTheEntry = 113,
    ExportJournal = 114,

    // Birthdays.
    BirthdaysMenu = 115,
    EnterNameAndBirth = 116,
    Add = 117,
    ChangeEntry = 118,
    ClearForm = 119,
    DroppingTable = 120,
    HasBirthdayToday = 121,
    HaveBirthdayToday = 122,

    // Bin and wipe.
    EmptyBin = 123,
    DeleteAllRecords = 124,
    ConfirmDeleteRecords = 125,
    ReallyEmptyBin = 126,
    OperationDone = 127,
    DeletingNotes = 128,
    DeletingFromTable = 129,
    DeletingDiary = 130,
    DeletingAddressBook = 131,
    DeletingJournal = 132,
    DeletingBirthdays = 133,
    ReallyWipe = 134,
    DroppingNotesTables = 135,
    TableDropped = 136,
    DroppingDiaryTables = 137,
    DroppingAddressBookTables = 138,
    DroppingJournalTables = 139,
    DroppingBirthdaysTable = 140,
    NewTablesCreated = 141,

    // The settings page, the main menu and the update check.
    ShowReminderBox = 142,
    AutoUpdate = 143,
    SearchUpdateNow = 144,
    UpdateWarning = 145,
    NotOnline = 146,
    GoOnline = 147,
    UpdateInfoFailed = 148,
    SearchResult = 149,
    NoNewerVersion = 150,
    NewerVersionFound = 151,
    SaveNewVersion = 152,
    ProgramFilter = 153,
    DownloadDone = 154,
    NewVersionSaved = 155,
    DownloadFailed = 156,
    StartAtLogin = 157,
    HideAtStart = 158,
    AnnounceTime = 159,
    AnnounceNone = 160,
    AnnounceHours = 161,
    AnnounceHalfHours = 162,
    AnnounceQuarters = 163,
    AlarmHotKey = 164,
    ShowHotKey = 165,
    ProgramMenu = 166,
    Help = 167,
    About = 168,
    MailAuthor = 169,
    AuthorWeb = 170,
    Quit = 171,
    LanguageMenu = 172,
    GenerateLanguage = 173,
    SaveLanguageStrings = 174,
    AboutTitle = 175,

    // The about box.
    AboutVersion = 176,
    AboutAuthor = 177,
    AboutDate = 178,
    AboutTranslator = 179,

    // Birthday sort items and the editors' checks.
    BirthdaysByName = 180,
    ByPlaceInYear = 181,
    ByDateOfBirth = 182,
    InvalidBirthDate = 183,
    NoName = 184,
    NoContent = 185,
    NoContactName = 186,

    // The tray menu.
    AlarmOff = 187,
    ShowProgram = 188,

    // The welcome message of the first start.
    Welcome = 189,
    WelcomeF1 = 190,
    WelcomeF2 = 191,
    WelcomeF3 = 192,
    WelcomeF4 = 193,
    WelcomeF5 = 194,
    WelcomeF12 = 195,

    // The note editor's view.
    Saved = 196,
    Changed = 197,

    // The address book's import.
    Import = 198,
    ImportSetup = 199,
    ImportSkipFirstLine = 200,
    ImportDone = 201,
    SemicolonSeparated = 202,
    CommaSeparated = 203,
    TabSeparated = 204,

    // Groups and the language change.
    ShowAllGroups = 205,
    ChooseGroup = 206,
    LanguageDone = 207,
    LanguageChanged = 208,

    // Texts the program adds to the original's 209. A language file with
    // fewer lines leaves these to the built-in Slovak texts.
    LockRefused = 209,
    ReminderSearchFailed = 210,
    AlarmNotCleared = 211,
    SettingsUnreadable = 212,
    DataFilesUnusable = 213,
    NoSound = 214,
};

// The number of texts, the program's own included.
inline constexpr int kStrCount = int(Str::NoSound) + 1;

// The text after `first` by `offset` places, for runs of texts such as the
// welcome lines or the announcement items.
constexpr Str StrAfter(Str first, int offset) {
    return Str(int(first) + offset);
}
