#include "formnarodky.h"

#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/storable.h"
#include "exchange/vcard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "records/formbuilder.h"
#include "records/recordlist.h"
#include "storage/sqlite.h"

#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

constexpr TRecordKind kBirthdaysKind{u"narodky",
                                     Qt::Key_F5,
                                     &MakeRecordWindow<Tformnarodky>,
                                     &ModuleOf<&DataModules::narodky>,
                                     std::nullopt,
                                     Str::DeletingBirthdays,
                                     Str::DroppingBirthdaysTable,
                                     Str::BirthdaysMenu,
                                     u"meno",
                                     u"''",
                                     u"narodenie"};

namespace {

const QStringList kOrders{u"ORDER BY meno"_s, u"ORDER BY poradie"_s, u"ORDER BY narodenie"_s};

// The whole years from a birth to a day: the new age on the birthday itself.
int Age(int year, int month, int day, const TDayParts& today) {
    const int age = today.year - year;
    return today.month < month || (today.month == month && today.day < day) ? age - 1 : age;
}

} // namespace

Tformnarodky::Tformnarodky(TProgramContext& context)
    : TListWindow(context, kBirthdaysKind, context.modules.narodky,
                  {.newCommand = false,
                   .exportCommand = false,
                   .columnWidth = 250,
                   .mainMenuName = "Program1",
                   .endName = "Koniec"}) {
    QMenu* zoraditpodla = addTopMenu("zoraditpodla", Str::SortBy);
    zoraditpodla->addAction(
        command("podlamena", Str::BirthdaysByName, QKeySequence(), [this] { podlamenaClick(); }));
    zoraditpodla->addAction(command("podlaporadia", Str::ByPlaceInYear, QKeySequence(),
                                    [this] { podlaporadiaClick(); }));
    zoraditpodla->addAction(command("podlanarodenia", Str::ByDateOfBirth, QKeySequence(),
                                    [this] { podlanarodeniaClick(); }));
    // Its mark starts cleared at every start, whatever the view file holds.
    opacne = command("opacne", Str::Reversed, QKeySequence(), [this] { opacneClick(); });
    opacne->setCheckable(true);
    zoraditpodla->addAction(opacne);
    // The birthdays to other programs' address books, as cards with BDAY.
    addBesideExport(command("exportvcard", Str::ExportBirthdaysVCard, QKeySequence(),
                            [this] { exportVCardClick(); }));

    auto* form = new QWidget;
    auto* layout = new QVBoxLayout(form);
    menovyzva = new QLabel;
    menovyzva->setObjectName(u"menovyzva"_s);
    Caption(menovyzva, context.strings, Str::EnterNameAndBirth);
    menovstup = new QLineEdit;
    menovstup->setObjectName(u"menovstup"_s);
    MakeOneLine(menovstup);
    menovyzva->setBuddy(menovstup);
    DateTimePicker = MakeDayPicker("DateTimePicker", today());
    ok = new QPushButton;
    ok->setObjectName(u"ok"_s);
    ok->setAutoDefault(false);
    ConnectGuarded(m_context.dialogs, ok, &QPushButton::clicked, this, [this] { okClick(); });
    layout->addWidget(menovyzva);
    layout->addWidget(menovstup);
    layout->addWidget(DateTimePicker);
    layout->addWidget(ok, 0, Qt::AlignLeft);
    layout->addStretch();
    form->setFixedWidth(form->sizeHint().width() + 200);
    addControlBeside(form);
    setFormMode(FormMode::Add);
}

QDate Tformnarodky::today() const {
    return m_context.clock.now().date();
}

void Tformnarodky::setFormMode(FormMode mode) {
    m_formMode = mode;
    Caption(ok, m_context.strings,
            mode == FormMode::Add      ? Str::Add
            : mode == FormMode::Change ? Str::ChangeEntry
                                       : Str::ClearForm);
}

// ---- the list ----------------------------------------------------------------

QStringList Tformnarodky::viewLines() const {
    return {module().order, module().direction};
}

void Tformnarodky::readViewLines(const QStringList& lines) {
    // Only the orders the window writes itself reach the query.
    const QString order = lines.value(0);
    module().order = KnownFragment(order, kOrders, u"ORDER BY poradie"_s);
    module().direction = KnownFragment(lines.value(1), {u" DESC"_s, u" "_s}, QString());
}

void Tformnarodky::exportVCardClick() {
    exportAs(Str::ExportBirthdaysVCard, m_context.strings[Str::VCardFiles], u"vcf"_s,
             listQuery().replace(u"SELECT id, meno, narodenie"_s, u"SELECT meno, narodenie"_s),
             QByteArray(), [](const TSQLiteRow& row, QByteArray& out) {
                 out += BirthdayVCardOf(
                     row.CellTextOrEmpty(0),
                     QDate::fromString(row.CellTextOrEmpty(1).left(10), u"yyyy-MM-dd"_s));
             });
}

QString Tformnarodky::listQuery() const {
    // The list reads every row: sorting them is quicker than walking the
    // index on the place in the year, which reads a page for every row.
    return u"SELECT id, meno, narodenie FROM narodky NOT INDEXED WHERE viditelnost=1 "_s +
           module().order + u' ' + module().direction;
}

void Tformnarodky::beforeRefresh() {
    m_today = today();
    m_today.getDate(&m_todayParts.year, &m_todayParts.month, &m_todayParts.day);
}

void Tformnarodky::itemCaption(const TSQLiteRow& row, QString& caption) const {
    row.AppendCellText(1, caption);
    const QByteArrayView stored = row.CellBytes(2);
    int year, month, day;
    if (stored.size() < 10 || !StoredDayParts(stored.first(10), year, month, day)) {
        // A birth that is no date has no age: marked, as it is stored.
        caption += u" (?) - \u26A0 "_s;
        row.AppendCellText(2, caption);
        return;
    }
    caption += u" ("_s;
    AppendNumber(caption, Age(year, month, day, m_todayParts));
    caption += u") - "_s;
    m_names.appendDay(year, month, day, caption);
}

QStringList Tformnarodky::listState() const {
    // The ages change with the day.
    return {today().toString(Qt::ISODate)};
}

void Tformnarodky::afterRefresh() {
    // A change or a look keeps the date it loaded: pressing the button after
    // a refresh must not store today as the person's birth.
    if (m_list->count() > 0 && m_formMode == FormMode::Add) {
        const QSignalBlocker quiet(DateTimePicker);
        DateTimePicker->setDate(m_today);
    }
}

void Tformnarodky::beforeActivate() {
    if (m_formMode == FormMode::Add)
        DateTimePicker->setDate(today());
}

// ---- the form ----------------------------------------------------------------

void Tformnarodky::openEditor(EditorMode mode, qint64 id) {
    if (mode == EditorMode::Insert)
        return;
    TSQLiteDatabase db(module().file);
    TSQLiteTable row =
        db.Query(u"SELECT meno, narodenie FROM narodky WHERE id="_s + QString::number(id));
    if (row.Rows() == 0)
        return;
    menovstup->setText(row.CellTextOrEmpty(0));
    DateTimePicker->setDate(
        ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, row.CellTextOrEmpty(1)).date());
    m_loaded = id;
    setFormMode(mode == EditorMode::Update ? FormMode::Change : FormMode::Look);
}

void Tformnarodky::okClick() {
    const TLanguageTable& s = m_context.strings;
    const QDate birth = DateTimePicker->date();
    if (birth > today()) {
        m_context.dialogs.messageBox(nullptr, s[Str::Warning], s[Str::InvalidBirthDate],
                                     IDialogs::Icon::Information);
        return;
    }
    const QString narodenie =
        SqlDateTimeText(Moment(birth), m_context.patterns).left(10) + u" 00:00:00"_s;
    const QString poradie = u"2000"_s + narodenie.mid(4);
    const QString name = menovstup->text();
    if (name.isEmpty()) {
        m_context.dialogs.messageBox(nullptr, s[Str::Warning], s[Str::NoName],
                                     IDialogs::Icon::Information);
    } else {
        if (m_formMode != FormMode::Look) {
            if (!MayStore(m_context, this, {name}))
                return;
            TSQLiteDatabase db(module().file);
            if (m_formMode == FormMode::Add) {
                db.Execute(u"INSERT INTO narodky(meno,poradie,narodenie,viditelnost) "_s
                           u"VALUES(?1,?2,?3,1)"_s,
                           {name, poradie, narodenie});
                // The new person is the one selected.
                selectAfterRefresh(db.LastInsertId());
            } else {
                db.Execute(u"UPDATE narodky SET meno=?1,poradie=?2,narodenie=?3 WHERE id=?4"_s,
                           {name, poradie, narodenie, m_loaded});
            }
        }
        // Stored (or only looked at): the form is empty again, for adding.
        menovstup->clear();
        DateTimePicker->setDate(today());
        setFormMode(FormMode::Add);
    }
    zoznam->setFocus();
    Aktualizuj();
}

// ---- sorting -----------------------------------------------------------------

void Tformnarodky::sortBy(const QString& order) {
    module().order = order;
    Ulozini();
    Aktualizuj();
}

void Tformnarodky::podlamenaClick() {
    sortBy(kOrders[0]);
}

void Tformnarodky::podlaporadiaClick() {
    sortBy(kOrders[1]);
}

void Tformnarodky::podlanarodeniaClick() {
    sortBy(kOrders[2]);
}

void Tformnarodky::opacneClick() {
    // The action has toggled its mark already.
    module().direction = opacne->isChecked() ? u" DESC"_s : u" "_s;
    Ulozini();
    Aktualizuj();
}
