#include "formadresar.h"

#include "addressbookview.h"
#include "contactfields.h"
#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/windowsize.h"
#include "exchange/csvtable.h"
#include "exchange/vcard.h"
#include "formmoznostiadresara.h"
#include "formnastavinport.h"
#include "formzaznam.h"
#include "platform/desktoplinks.h"
#include "platform/dialogs.h"
#include "records/readingpane.h"
#include "records/recordlist.h"
#include "storage/sqlite.h"
#include "tablecolumns.h"

#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <algorithm>
#include <array>
#include <string_view>

using namespace Qt::Literals::StringLiterals;

// What search finds a contact by besides its names: its other 22 fields.
constexpr char16_t kContactText[] = u"ifnull(ulica,'') || ' ' || ifnull(psc,'') || ' ' || "
                                    u"ifnull(mesto,'') || ' ' || ifnull(stat,'') || ' ' || "
                                    u"ifnull(tel1,'') || ' ' || ifnull(tel2,'') || ' ' || "
                                    u"ifnull(mob1,'') || ' ' || ifnull(mob2,'') || ' ' || "
                                    u"ifnull(mob3,'') || ' ' || ifnull(fax,'') || ' ' || "
                                    u"ifnull(mail1,'') || ' ' || ifnull(mail2,'') || ' ' || "
                                    u"ifnull(mail3,'') || ' ' || ifnull(web,'') || ' ' || "
                                    u"ifnull(icq,'') || ' ' || ifnull(skype,'') || ' ' || "
                                    u"ifnull(irc,'') || ' ' || ifnull(jabber,'') || ' ' || "
                                    u"ifnull(msn,'') || ' ' || ifnull(yahoo,'') || ' ' || "
                                    u"ifnull(ain,'') || ' ' || ifnull(gadugadu,'')";

constexpr TRecordKind kAddressBookKind{u"adresar",
                                       Qt::Key_F3,
                                       &MakeRecordWindow<TFormadresar>,
                                       &ModuleOf<&DataModules::adresar>,
                                       Str::MyContacts,
                                       Str::DeletingAddressBook,
                                       Str::DroppingAddressBookTables,
                                       Str::AddressBookMenu,
                                       u"ifnull(meno,'') || ' ' || ifnull(priezvisko,'')",
                                       kContactText};

namespace {

// The sort items: key k's item name and caption.
constexpr std::pair<const char*, Str> kSortItems[25] = {
    {"podlaid", Str::ContactsByAddition},
    {"podlamena", Str::ByFirstName},
    {"podlapriezviska", Str::BySurname},
    {"podlaulice", Str::ByStreet},
    {"podlapsc", Str::ByPostcode},
    {"podlamesta", Str::ByTown},
    {"podlastatu", Str::ByCountry},
    {"podlatelefonu1", Str::ByHomePhone},
    {"podlatelefonu2", Str::ByWorkPhone},
    {"podlamobilu1", Str::ByMobile1},
    {"podlamobilu2", Str::ByMobile2},
    {"podlamobilu3", Str::ByMobile3},
    {"podlafaxu", Str::ByFax},
    {"podlamailu1", Str::ByMail1},
    {"podlamailu2", Str::ByMail2},
    {"podlamailu3", Str::ByMail3},
    {"podlawebu", Str::ByWeb},
    {"podlaicq", Str::Icq},
    {"podlaskype", Str::Skype},
    {"podlairc", Str::Irc},
    {"podlajabber", Str::Jabber},
    {"podlamsn", Str::Msn},
    {"podlayahoo", Str::Yahoo},
    {"podlaain", Str::Aim},
    {"podlagadugadu", Str::GaduGadu},
};

// A mail address as one "mailto:" link: every character that could end the
// address or start a header (?, &, %, #, blanks) is escaped.
QUrl mailLink(const QString& address) {
    return QUrl::fromEncoded("mailto:" + QUrl::toPercentEncoding(address, "@"), QUrl::StrictMode);
}

// The 24 fields' columns in their order, for a SELECT.
QString allFields() {
    QString columns;
    for (const TFormField& field : kContactFields)
        columns += (columns.isEmpty() ? u""_s : u","_s) + QLatin1StringView(field.name);
    return columns;
}

// A phone number as a "tel:" link: its digits, with a leading +; none for
// a text with too few digits to be a number.
QUrl phoneLink(const QString& number) {
    QString digits;
    for (const QChar c : number) {
        if (c >= u'0' && c <= u'9')
            digits += c;
        else if (c == u'+' && digits.isEmpty())
            digits += c;
    }
    if (digits.size() - digits.count(u'+') < 3)
        return QUrl();
    return QUrl(u"tel:"_s + digits);
}

// A web address as a link: as written, or with http:// where it has no
// scheme; none but web links.
QUrl webLink(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != u"http" && url.scheme() != u"https"))
        return QUrl();
    return url;
}

// The link a contact's field makes, by its number: mail, phones, web.
QUrl fieldLink(int field, const QString& value) {
    const std::string_view name(kContactFields[field].name);
    if (name.starts_with("mail"))
        return mailLink(value);
    if (name.starts_with("tel") || name.starts_with("mob") || name == "fax")
        return phoneLink(value);
    if (name == "web")
        return webLink(value);
    return QUrl();
}

} // namespace

TFormadresar::TFormadresar(TProgramContext& context)
    : TGroupedWindow(context, kAddressBookKind, context.modules.adresar,
                     {.exportTitle = Str::ExportAddressBook,
                      .multiSelection = true,
                      .header = true,
                      .readingPane = true}) {
    m_list->setHeader(context.strings[Str::MyContacts]);
    poslatmail = command("poslatmail", Str::SendMail, QKeySequence(u"Ctrl+M"_s),
                         [this] { poslatmailClick(); });
    m_mainMenu->insertAction(vymazat, poslatmail);
    auto* inport = new QMenu(this);
    inport->setObjectName(u"inport"_s);
    Caption(inport, context.strings, Str::Import);
    inport->addAction(
        command("bodkociarka", Str::SemicolonSeparated, QKeySequence(), [this] { Inportuj(';'); }));
    inport->addAction(
        command("ciarka", Str::CommaSeparated, QKeySequence(), [this] { Inportuj(','); }));
    inport->addAction(
        command("tabulator", Str::TabSeparated, QKeySequence(), [this] { Inportuj('\t'); }));
    inport->addSeparator();
    inport->addAction(command("importvcardcsv", Str::ImportVCardCsv, QKeySequence(),
                              [this] { importFileClick(); }));
    addBesideExport(
        command("exportvcard", Str::ExportVCard, QKeySequence(), [this] { exportVCardClick(); }));
    addBesideExport(
        command("exportcsv", Str::ExportCsv, QKeySequence(), [this] { exportCsvClick(); }));
    m_mainMenu->insertMenu(koniec, inport);
    m_mainMenu->insertAction(koniec, command("moznostiadrmenu", Str::AddressBookOptions,
                                             QKeySequence(), [this] { moznostiadrmenuClick(); }));

    QMenu* usporiadat = addTopMenu("usporiadat", Str::ContactsSortBy);
    for (int key = 0; key < 25; ++key) {
        m_sorts[key] = command(kSortItems[key].first, kSortItems[key].second, QKeySequence(),
                               [this, key] { sortClick(key); });
        m_sorts[key]->setCheckable(true);
        usporiadat->addAction(m_sorts[key]);
    }
    opacne = command("opacne", Str::Reversed, QKeySequence(), [this] { opacneClick(); });
    opacne->setCheckable(true);
    usporiadat->addAction(opacne);
}

TAddressBookOptions& TFormadresar::options() {
    return m_context.modules.adresarOptions;
}

const TAddressBookOptions& TFormadresar::options() const {
    return m_context.modules.adresarOptions;
}

// ---- the view ------------------------------------------------------------------

QStringList TFormadresar::viewLines() const {
    return AddressBookViewLines(module(), options());
}

void TFormadresar::readViewLines(const QStringList& lines) {
    ReadAddressBookView(lines, module(), options());
    // The group is taken only when the catalogue lists it.
    TGroupedWindow::readViewLines({module().table, module().caption});
}

void TFormadresar::FormActivate() {
    // The list waits for a running import, whose end lists what it stored.
    if (runningImport())
        return;
    if (!QFileInfo::exists(module().view))
        Nastavdefauld(options());
    TGroupedWindow::FormActivate();
    setSortMarks();
    if (options().firstRun == 0) {
        const TLanguageTable& s = m_context.strings;
        m_context.dialogs.messageBox(nullptr, s[Str::AddressBookWelcome],
                                     s[Str::AddressBookFirstRun] + u'\n' +
                                         s[Str::AddressBookAdvice],
                                     IDialogs::Icon::Information);
        options().firstRun = 1;
        Ulozini();
    }
}

void TFormadresar::Aplikujjazyk() {
    TGroupedWindow::Aplikujjazyk();
    m_list->setHeader(m_context.strings[Str::MyContacts]);
}

void TFormadresar::setSortMarks() {
    for (int key = 0; key < 25; ++key)
        m_sorts[key]->setChecked(options().values[TAddressBookOptions::SortKey] == key);
    opacne->setChecked(options().values[TAddressBookOptions::Reverse] == 1);
}

// ---- the list ------------------------------------------------------------------

bool TFormadresar::surnameFirst() const {
    return options().values[TAddressBookOptions::SurnameFirst] == 1;
}

int TFormadresar::shownField() const {
    const int key = options().values[TAddressBookOptions::SortKey];
    return key >= 3 ? key - 1 : -1;
}

QString TFormadresar::listQuery() const {
    // The names and the shown field only; the other fields stay in the file.
    QString columns = u"id, meno, priezvisko"_s;
    if (const int field = shownField(); field >= 0)
        columns += u", "_s + QLatin1StringView(kContactFields[field].name);
    return u"SELECT "_s + columns + u" FROM "_s + viewQueryTail();
}

void TFormadresar::itemCaption(const TSQLiteRow& row, QString& caption) const {
    const bool surname = surnameFirst();
    row.AppendCellText(surname ? 2 : 1, caption);
    caption += u' ';
    row.AppendCellText(surname ? 1 : 2, caption);
    caption += u' ';
    if (shownField() >= 0)
        row.AppendCellText(3, caption);
}

QString TFormadresar::exportQuery() const {
    return u"SELECT "_s + allFields() + u" FROM "_s + viewQueryTail();
}

QStringList TFormadresar::exportHeader() const {
    // The field labels, the two names in the list's order.
    const TLanguageTable& s = m_context.strings;
    QStringList labels;
    for (const TFormField& field : kContactFields)
        labels.append(s[field.label]);
    if (surnameFirst())
        labels.swapItemsAt(0, 1);
    return {labels.join(u" ; "_s)};
}

void TFormadresar::exportRecord(const TSQLiteRow& row, QByteArray& out) const {
    // No quoting: the values as they are stored, joined as the header is.
    // Sized once and copied in, as the export writes 24 cells a contact.
    const bool surname = surnameFirst();
    std::array<QByteArrayView, 24> cells;
    qsizetype length = 23 * 3 + 2;
    for (int field = 0; field < 24; ++field) {
        cells[field] = row.CellBytes(field < 2 && surname ? 1 - field : field);
        length += cells[field].size();
    }
    const qsizetype start = out.size();
    out.resize(start + length);
    char* at = out.data() + start;
    for (int field = 0; field < 24; ++field) {
        if (field > 0)
            at = std::copy_n(" ; ", 3, at);
        at = std::copy(cells[field].begin(), cells[field].end(), at);
    }
    std::copy_n("\r\n", 2, at);
}

QString TFormadresar::recordsPart(int listed, qint64 visible) const {
    if (visible == 0)
        return u"0"_s;
    return QString::number(listed) + u'/' + QString::number(visible);
}

void TFormadresar::afterRefresh() {
    poslatmail->setEnabled(upravit->isEnabled());
}

// ---- commands ------------------------------------------------------------------

void TFormadresar::sortClick(int key) {
    module().filter = SortFilter(key);
    module().order = SortOrder(key);
    // The sort field counts as chosen, so that the editors show it.
    if (key >= 1)
        options().values[key - 1] = 1;
    options().values[TAddressBookOptions::SortKey] = key;
    setSortMarks();
    Ulozini();
    Aktualizuj();
}

void TFormadresar::opacneClick() {
    // The action has toggled its mark already.
    const bool reversed = opacne->isChecked();
    module().direction = reversed ? u" DESC"_s : QString();
    options().values[TAddressBookOptions::Reverse] = reversed ? 1 : 0;
    Ulozini();
    Aktualizuj();
}

void TFormadresar::poslatmailClick() {
    qint64 id;
    if (!selectedId(id))
        return;
    QString address;
    {
        TSQLiteDatabase db(module().file);
        TSQLiteTable row = db.Query(u"SELECT mail1 FROM "_s + SqlName(module().table) +
                                    u" WHERE id ="_s + QString::number(id));
        if (row.Rows() > 0)
            address = row.CellTextOrEmpty(0);
    }
    if (address.isEmpty())
        return;
    QPointer<TFormadresar> self(this);
    m_context.links.open(mailLink(address), [self, address](bool opened) {
        if (opened || !self)
            return;
        const TLanguageTable& s = self->m_context.strings;
        self->m_context.dialogs.messageBox(nullptr, s[Str::Warning],
                                           s[Str::NoMailProgram].arg(address),
                                           IDialogs::Icon::Information);
    });
}

QString TFormadresar::importFile(Str title, Str filter) {
    const TLanguageTable& s = m_context.strings;
    return TListWindow::importFile(title, s[filter] + u";;"_s + s[Str::CsvFiles]);
}

void TFormadresar::Inportuj(char separator) {
    const TLanguageTable& s = m_context.strings;
    const QString file = importFile(Str::Import, Str::TextFiles);
    if (file.isEmpty())
        return;
    TImportState& state = m_import;
    state.separator = separator;
    state.fileName = file;
    state.encoding = ImportEncoding(file);
    if (state.encoding == TextEncoding::NotText) {
        m_context.dialogs.messageBox(nullptr, s[Str::Import], NotTextMessage(s, file),
                                     IDialogs::Icon::Warning);
        return;
    }
    state.firstColumns.clear();
    const QByteArray first = FirstImportLine(file, state.encoding).toUtf8();
    QList<QByteArrayView> columns;
    SplitImportLine(first, separator, columns);
    for (QByteArrayView column : columns)
        state.firstColumns.append(QString::fromUtf8(column));
    state.columnCount = int(state.firstColumns.size()) - 1;
    state.resetMap();
    ShowAtKeptSize(new Tformnastavinport(*this), m_context.own);
}

namespace {

// A contact's 24 fields from a row of the export's query, into `values`,
// whose room is used again.
void readContact(const TSQLiteRow& row, TContactValues& values) {
    // Each field's room is used again row after row.
    for (int field = 0; field < 24; ++field) {
        if (!values[field].isEmpty())
            values[field].truncate(0);
        if (!row.CellBytes(field).isEmpty())
            row.AppendCellText(field, values[field]);
    }
}

} // namespace

QString TFormadresar::chosenQuery() const {
    const QList<qint64> ids = chosenIds();
    if (ids.isEmpty())
        return exportQuery();
    QStringList numbers;
    for (const qint64 id : ids)
        numbers.append(QString::number(id));
    // In the list's order; the filter is a WHERE clause.
    const TModuleState& m = module();
    return u"SELECT "_s + allFields() + u" FROM "_s + SqlName(m.table) + u' ' + m.filter +
           u" AND id IN ("_s + numbers.join(u',') + u") "_s + m.order + u' ' + m.direction;
}

void TFormadresar::exportVCardClick() {
    TContactValues values;
    exportAs(Str::ExportVCard, m_context.strings[Str::VCardFiles], u"vcf"_s, chosenQuery(),
             QByteArray(), [&values](const TSQLiteRow& row, QByteArray& out) {
                 readContact(row, values);
                 AppendVCard(out, values);
             });
}

void TFormadresar::exportCsvClick() {
    // UTF-8 with its mark, as spreadsheets know it; the labels first.
    QStringList labels;
    for (const TFormField& field : kContactFields)
        labels.append(m_context.strings[field.label]);
    TContactValues values;
    exportAs(Str::ExportCsv, m_context.strings[Str::CsvFiles], u"csv"_s, chosenQuery(),
             kUtf8Bom + CsvRow(labels), [&values](const TSQLiteRow& row, QByteArray& out) {
                 readContact(row, values);
                 AppendCsvRow(out, values);
             });
}

void TFormadresar::importFileClick() {
    const TLanguageTable& s = m_context.strings;
    const QString file = importFile(Str::ImportVCardCsv, Str::VCardFiles);
    if (file.isEmpty())
        return;
    Guarded(m_context.dialogs, [&] {
        const TextEncoding encoding = ImportEncoding(file);
        if (encoding == TextEncoding::NotText) {
            m_context.dialogs.messageBox(nullptr, s[Str::Import], NotTextMessage(s, file),
                                         IDialogs::Icon::Warning);
            return;
        }
        m_import.fileName = file;
        const QString first = FirstImportLine(file, encoding);
        if (LooksLikeVCard(first.toUtf8())) {
            QFile cards(file);
            OpenForReading(cards);
            const qint64 birthdays = CountBirthdays(cards, encoding);
            // Cards without dates of birth are imported at once; with them,
            // the user says whether the birthdays list gets them too.
            if (birthdays == 0) {
                importFrom(VCardSource(encoding), false);
                return;
            }
            auto* dialog = new TVCardImportDialog(this, s, file, birthdays);
            connect(dialog, &QDialog::accepted, this, [this, dialog, encoding] {
                importFrom(VCardSource(encoding), dialog->addBirthdays());
            });
            ShowAtKeptSize(dialog, m_context.own);
            return;
        }
        // A table: its columns shown with the fields they feed.
        TTableColumnsDialog* dialog = nullptr;
        try {
            dialog = new TTableColumnsDialog(this, s, file, encoding);
        } catch (const TFormatError& fault) {
            m_context.dialogs.errorBox(FormatFaultMessage(s, file, fault));
            return;
        }
        connect(dialog, &QDialog::accepted, this, [this, dialog, encoding] {
            importFrom(TableSource(encoding, dialog->separator(), dialog->map(),
                                   dialog->headerRow(), m_context.strings[Str::BirthdayField]),
                       dialog->addBirthdays());
        });
        ShowAtKeptSize(dialog, m_context.own);
    });
}

void TFormadresar::importFrom(TSourceMaker source, bool addBirthdays) {
    if (runningImport())
        return;
    m_import.addBirthdays = addBirthdays;
    startImport(new TContactImport(*this, m_import, std::move(source)));
}

void TFormadresar::Doinportuj() {
    startImport(new TContactImport(*this, m_import));
}

void TFormadresar::moznostiadrmenuClick() {
    ShowAtKeptSize(new Tformmoznostiadresara(*this), m_context.own);
}

void TFormadresar::openEditor(EditorMode mode, qint64 id) {
    showEditor(new Tformzaznam(*this, mode, id));
}

QString TFormadresar::paneColumns() const {
    return allFields();
}

void TFormadresar::showInPane(const TSQLiteTable& contact, TReadingPane& pane) {
    // The names as the list shows them, then the fields the editor shows.
    const bool surname = surnameFirst();
    pane.heading(
        (contact.CellTextOrEmpty(surname ? 1 : 0) + u' ' + contact.CellTextOrEmpty(surname ? 0 : 1))
            .trimmed());
    const TAddressBookOptions& o = options();
    const TLanguageTable& s = m_context.strings;
    for (int field = 2; field < 24; ++field) {
        const QString value = contact.CellTextOrEmpty(field);
        if (value.isEmpty() ||
            (o.values[TAddressBookOptions::EditorOption] == 1 && o.values[field] == 0))
            continue;
        pane.field(s[kContactFields[field].label], value, fieldLink(field, value));
    }
}

QList<QAction*> TFormadresar::contextActions() const {
    return TGroupedWindow::contextActions() << nullptr << poslatmail;
}
