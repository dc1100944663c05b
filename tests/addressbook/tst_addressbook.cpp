// The address book: its view file and options, the 25 sorts, the contact
// editor, the options dialog and the mail command.
#include "addressbook/addressbookview.h"
#include "addressbook/formadresar.h"
#include "addressbook/formmoznostiadresara.h"
#include "addressbook/formzaznam.h"
#include "records/readingpane.h"
#include "shell/settingsfile.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"data/Addressbook.dbf"_s;
const QString kView = u"data/Addressbook.ini"_s;
const QString kNotice = u"Adresár bol spustený prvýkrát\nSkôr než začnete adresár používať, "
                        u"odporúčame Vám prezrieť si možnosti adresára a nakonfigurovať ho "
                        u"podľa Vašich predstáv."_s;

// The view file a first activation writes, line by line.
QStringList firstView() {
    QStringList lines{u"2.0"_s, u"1"_s};
    for (int i = 0; i < 24; ++i)
        lines.append(u"1"_s);
    lines << u"1"_s << u"0"_s << u"1"_s << u"2"_s << u"0"_s << u"mojekontakty"_s
          << u"Moje kontakty"_s << u"where viditelnost=1"_s << u"ORDER BY priezvisko"_s
          << QString();
    return lines;
}

// Contacts straight into the default group: first name, surname, and more
// columns as column=value pairs.
void addContacts(const QList<QStringList>& contacts) {
    QDir().mkpath(u"data"_s);
    CreateDataFile(DataModules().adresar, u"Moje kontakty"_s);
    TSQLiteDatabase db(kFile);
    for (const QStringList& c : contacts) {
        QString columns = u"meno,priezvisko,viditelnost"_s;
        QString values = SqlText(c[0]) + u',' + SqlText(c[1]) + u",1"_s;
        for (qsizetype i = 2; i < c.size(); ++i) {
            columns += u',' + c[i].section(u'=', 0, 0);
            values += u',' + SqlText(c[i].section(u'=', 1));
        }
        db.Execute(u"INSERT INTO mojekontakty("_s + columns + u") VALUES("_s + values + u")"_s);
    }
}

QList<QStringList> rows(const QString& sql) {
    return DbRows(kFile, sql);
}

// A started program with the address book active.
struct AddressBook : TestProgram {
    AddressBook() {
        TSettings settings;
        settings.lastWindow = u"adresar"_s;
        LineFile::write(TSettings::FileName, SettingsLines(settings));
        if (!start() || !WaitForFocus(window()))
            qFatal("the address book is not active");
    }
    TFormadresar* window() const { return static_cast<TFormadresar*>(record(u"adresar"_s)); }
    QAction* action(const char* name) const {
        return window()->findChild<QAction*>(QString::fromLatin1(name));
    }
    QStringList captions() const { return ListCaptions(window()); }
    QStringList notices() const {
        QStringList texts;
        for (const FakeDialogs::Box& box : t.dialogs.boxes)
            if (box.caption == u"Vitajte v adresári")
                texts.append(box.text);
        return texts;
    }
    void reactivate() { window()->FormActivate(); }
    Tformzaznam* open(const char* command) {
        Trigger(window(), command);
        auto* e = OpenWindow<Tformzaznam>();
        if (!e || !WaitForFocus(e))
            qFatal("no active editor after %s", command);
        return e;
    }
    static void set(Tformzaznam* e, const QString& field, const QString& text) {
        e->findChild<QLineEdit*>(field + u"vstup"_s)->setText(text);
    }
    void back() {
        window()->showActive();
        if (!WaitForFocus(window()))
            qFatal("the address book did not come back");
    }
    // Opens the options, lets `change` work on the dialog, and presses OK.
    void options(const std::function<void(Tformmoznostiadresara*)>& change) {
        Trigger(window(), "moznostiadrmenu");
        auto* d = OpenWindow<Tformmoznostiadresara>();
        QVERIFY(d);
        change(d);
        d->okClick();
        back();
    }
};

void checkOnly(Tformmoznostiadresara* d, std::initializer_list<int> fields) {
    auto* volby = d->findChild<QListWidget*>(u"volby"_s);
    for (int row = 0; row < 24; ++row)
        volby->item(row)->setCheckState(std::find(fields.begin(), fields.end(), row) != fields.end()
                                            ? Qt::Checked
                                            : Qt::Unchecked);
}

} // namespace

class TestAddressBook : public QObject {
    Q_OBJECT
private slots:
    void firstRun() {
        TempHome home;
        addContacts({{u"Ján"_s, u"Novák"_s}, {u"Bez"_s, QString()}, {u"Eva"_s, u"Adamová"_s}});
        AddressBook a;
        QCOMPARE(a.notices(), QStringList{kNotice});
        QCOMPARE(LineFile::read(kView), firstView());
        QCOMPARE(a.captions(), (QStringList{u" Bez "_s, u"Adamová Eva "_s, u"Novák Ján "_s}));
        QVERIFY(a.action("podlapriezviska")->isChecked());
        QCOMPARE(a.window()->statusText(), u"Počet záznamov: 3/3 Počet skupín: 1"_s);
        a.reactivate();
        QCOMPARE(a.notices().size(), 1);
        // Chosen from the menu, the sort by surname passes over those without.
        Trigger(a.window(), "podlapriezviska");
        QCOMPARE(a.captions(), (QStringList{u"Adamová Eva "_s, u"Novák Ján "_s}));
        QCOMPARE(a.window()->statusText(), u"Počet záznamov: 2/3 Počet skupín: 1"_s);
    }

    // A view file the program did not write as it is gives the defaults (and
    // the notice) or, for a damaged clause, that clause's default; none of
    // its text ever runs as SQL.
    void damagedViewFiles_data() {
        QTest::addColumn<int>("line"); // from 1
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("notice");
        QTest::newRow("older version") << 1 << u"1.5"_s << true;
        QTest::newRow("option not a number") << 10 << u"x"_s << true;
        QTest::newRow("option not whole") << 5 << u"1.5"_s << true;
        QTest::newRow("flag out of range") << 3 << u"7"_s << true;
        QTest::newRow("sort key out of range") << 30 << u"25"_s << true;
        QTest::newRow("no name order") << 29 << u"0"_s << true;
        QTest::newRow("filter") << 34 << u"where 1=1; DROP TABLE tables"_s << false;
        QTest::newRow("order") << 35 << u"ORDER BY (SELECT meno FROM tables)"_s << false;
        QTest::newRow("direction") << 36 << u" DESC; DELETE FROM mojekontakty"_s << false;
        QTest::newRow("group") << 32 << u"tables"_s << false;
    }
    void damagedViewFiles() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(bool, notice);
        TempHome home;
        addContacts({{u"Ján"_s, u"Novák"_s}, {u"Eva"_s, u"Adamová"_s}});
        QStringList view = firstView();
        // Surname second, by first name, reversed; the damaged line then.
        view[27] = u"1"_s, view[28] = u"0"_s, view[29] = u"1"_s, view[30] = u"1"_s;
        view[33] = SortFilter(1), view[34] = SortOrder(1), view[35] = u" DESC"_s;
        if (line == 29)
            view[27] = u"0"_s;
        view[line - 1] = text;
        LineFile::write(kView, view);
        AddressBook a;
        QCOMPARE(a.t.dialogs.errors, QStringList());
        QCOMPARE(a.notices().size(), notice ? 1 : 0);
        QCOMPARE(a.captions().size(), 2);
        QCOMPARE(a.captions().first(), notice       ? u"Adamová Eva "_s
                                       : line == 36 ? u"Eva Adamová "_s
                                                    : u"Ján Novák "_s);
        QCOMPARE(rows(u"SELECT count(*) FROM tables"_s), QList<QStringList>{{u"1"_s}});
        QCOMPARE(LineFile::read(kView).first(), u"2.0"_s);
    }

    void sortByAField() {
        TempHome home;
        addContacts({{u"A"_s, u"Prvý"_s, u"mail1=z@x.sk"_s},
                     {u"B"_s, u"Druhý"_s},
                     {u"C"_s, u"Tretí"_s, u"mail1=a@x.sk"_s},
                     {u"D"_s, u"Štvrtý"_s, u"mail2=d@x.sk"_s},
                     {u"E"_s, u"Piaty"_s},
                     {u"F"_s, u"Šiesty"_s},
                     {u"G"_s, u"Siedmy"_s}});
        AddressBook a;
        // Only the names chosen, and editors showing only what is chosen.
        a.options([](Tformmoznostiadresara* d) { checkOnly(d, {0, 1}); });
        Trigger(a.window(), "podlamailu1");
        QCOMPARE(a.captions(), (QStringList{u"Tretí C a@x.sk"_s, u"Prvý A z@x.sk"_s}));
        QCOMPARE(a.window()->statusText(), u"Počet záznamov: 2/7 Počet skupín: 1"_s);
        QVERIFY(a.action("podlamailu1")->isChecked());
        QVERIFY(!a.action("podlapriezviska")->isChecked());
        // The sort field counts as chosen: the next editor shows it.
        Tformzaznam* e = a.open("novymenu");
        QVERIFY(e->findChild<QLineEdit*>(u"mail1vstup"_s)->isVisible());
        QVERIFY(!e->findChild<QLineEdit*>(u"mail2vstup"_s)->isVisible());
        e->close();
        a.back();
        // Reverse stays on across sorts, and in the view file.
        Trigger(a.window(), "opacne");
        QCOMPARE(a.captions(), (QStringList{u"Prvý A z@x.sk"_s, u"Tretí C a@x.sk"_s}));
        Trigger(a.window(), "podlamena");
        QVERIFY(a.action("opacne")->isChecked());
        QCOMPARE(a.captions().first(), u"Siedmy G "_s);
        QCOMPARE(LineFile::read(kView).mid(29),
                 (QStringList{u"1"_s, u"1"_s, u"mojekontakty"_s, u"Moje kontakty"_s,
                              u"WHERE (viditelnost =1) AND (meno not LIKE \"\")"_s,
                              u"ORDER BY meno"_s, u" DESC"_s}));
        // By order of insertion: everyone, no field after the names.
        Trigger(a.window(), "podlaid");
        QCOMPARE(a.captions().size(), 7);
        QCOMPARE(a.captions().first(), u"Siedmy G "_s);
    }

    void options() {
        TempHome home;
        addContacts({{u"Ján"_s, u"Novák"_s}});
        AddressBook a;
        const QStringList before = LineFile::read(kView);
        // Cancel changes nothing.
        Trigger(a.window(), "moznostiadrmenu");
        auto* d = OpenWindow<Tformmoznostiadresara>();
        checkOnly(d, {});
        d->findChild<QRadioButton*>(u"menoapriezvisko"_s)->setChecked(true);
        QTest::keyClick(d, Qt::Key_Escape);
        QTRY_VERIFY(!OpenWindow<Tformmoznostiadresara>());
        a.back();
        QCOMPARE(LineFile::read(kView), before);
        QCOMPARE(a.captions(), QStringList{u"Novák Ján "_s});
        // No row chosen: the two names are; first name first at once.
        a.options([](Tformmoznostiadresara* d) {
            checkOnly(d, {});
            d->findChild<QRadioButton*>(u"menoapriezvisko"_s)->setChecked(true);
            d->findChild<QCheckBox*>(u"pridavanie"_s)->setChecked(false);
        });
        QCOMPARE(a.captions(), QStringList{u"Ján Novák "_s});
        QStringList expected = before;
        for (int line = 4; line < 26; ++line)
            expected[line] = u"0"_s;
        expected[26] = u"0"_s, expected[27] = u"1"_s, expected[28] = u"0"_s;
        QCOMPARE(LineFile::read(kView), expected);
        // With the editor option off, an editor shows every field.
        Tformzaznam* e = a.open("novymenu");
        QVERIFY(e->findChild<QLineEdit*>(u"gadugaduvstup"_s)->isVisible());
    }

    void sendMail_data() {
        QTest::addColumn<QString>("mail1");
        QTest::addColumn<bool>("canOpen");
        QTest::addColumn<QString>("link"); // empty: none opened
        QTest::newRow("plain") << u"jan@novak.sk"_s << true << u"mailto:jan@novak.sk"_s;
        QTest::newRow("header characters")
            << u"a?b&cc=x y%z#@x.sk"_s << true << u"mailto:a%3Fb%26cc%3Dx%20y%25z%23@x.sk"_s;
        QTest::newRow("no first address") << QString() << true << QString();
        QTest::newRow("no mail program") << u"jan@novak.sk"_s << false << u"mailto:jan@novak.sk"_s;
    }
    void sendMail() {
        QFETCH(QString, mail1);
        QFETCH(bool, canOpen);
        QFETCH(QString, link);
        TempHome home;
        addContacts({{u"Ján"_s, u"Novák"_s, u"mail1="_s + mail1, u"mail2=druha@x.sk"_s}});
        AddressBook a;
        a.t.links.canOpen = canOpen;
        a.t.dialogs.boxes.clear();
        QTest::keyClick(a.window(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(a.t.links.opened, link.isEmpty() ? QStringList() : QStringList{link});
        QCOMPARE(a.t.dialogs.boxes.size(), canOpen ? 0 : 1);
        if (!canOpen)
            QCOMPARE(a.t.dialogs.boxes[0].text,
                     u"Pre adresu jan@novak.sk sa nenašiel poštový program. Nastavte v systéme "
                     u"predvolený poštový program."_s);
    }

    // The reading pane shows the fields the editor shows; mail, phone and
    // web values are links, handed to the desktop exactly as written here.
    void readingPane_data() {
        QTest::addColumn<QStringList>("fields"); // column=value
        QTest::addColumn<QList<int>>("hidden");  // the options' field numbers unchecked
        QTest::addColumn<QStringList>("lines");  // what the pane shows after the heading
        QTest::addColumn<QStringList>("links");
        QTest::newRow("mail, phones, web")
            << QStringList{u"mail1=jan@novak.sk"_s, u"tel1=+421 (2) 123-45"_s, u"fax=02/55 66"_s,
                           u"web=www.novak.sk"_s, u"mesto=Nitra"_s}
            << QList<int>{}
            << QStringList{u"Mesto: Nitra"_s, u"Domáci telefón: +421 (2) 123-45"_s,
                           u"Fax: 02/55 66"_s, u"E-mail 1: jan@novak.sk"_s, u"Web: www.novak.sk"_s}
            << QStringList{u"tel:+421212345"_s, u"tel:025566"_s, u"mailto:jan@novak.sk"_s,
                           u"http://www.novak.sk"_s};
        QTest::newRow("what ends an address or starts a header")
            << QStringList{u"mail2=a?b&cc=x y%z#@x.sk"_s} << QList<int>{}
            << QStringList{u"E-mail 2: a?b&cc=x y%z#@x.sk"_s}
            << QStringList{u"mailto:a%3Fb%26cc%3Dx%20y%25z%23@x.sk"_s};
        QTest::newRow("no links where there is nothing to link")
            << QStringList{u"mob1=n/a"_s, u"web=javascript:alert(1)"_s, u"icq=12345"_s}
            << QList<int>{}
            << QStringList{u"Mobil 1: n/a"_s, u"Web: javascript:alert(1)"_s, u"ICQ: 12345"_s}
            << QStringList{};
        QTest::newRow("only hidden fields")
            << QStringList{u"mail1=jan@novak.sk"_s, u"mesto=Nitra"_s} << QList<int>{4, 12}
            << QStringList{} << QStringList{};
    }
    void readingPane() {
        QFETCH(QStringList, fields);
        QFETCH(QList<int>, hidden);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, links);
        TempHome home;
        addContacts({QStringList{u"Ján"_s, u"Novák"_s} + fields});
        AddressBook a;
        if (!hidden.isEmpty()) {
            a.options([&hidden](Tformmoznostiadresara* d) {
                QList<int> shown;
                for (int field = 0; field < 24; ++field)
                    if (!hidden.contains(field))
                        shown.append(field);
                auto* volby = d->findChild<QListWidget*>(u"volby"_s);
                for (int row = 0; row < 24; ++row)
                    volby->item(row)->setCheckState(shown.contains(row) ? Qt::Checked
                                                                        : Qt::Unchecked);
            });
        }
        QCOMPARE(PaneText(a.window()).split(u'\n'), QStringList{u"Novák Ján"_s} + lines);
        QCOMPARE(PaneLinks(a.window()), links);
        // A click on each link hands it to the desktop; where no program
        // takes it, the box says which link.
        a.t.links.canOpen = false;
        a.t.dialogs.boxes.clear();
        auto* pane = a.window()->readingPane();
        for (const QString& link : links)
            emit pane->anchorClicked(QUrl(link));
        QCOMPARE(a.t.links.opened, links);
        QCOMPARE(a.t.dialogs.boxes.size(), links.size());
        if (!links.isEmpty() && links[0].startsWith(u"tel:"))
            QCOMPARE(a.t.dialogs.boxes[0].text,
                     u"Pre odkaz tel:+421212345 sa nenašiel program, ktorý ho otvorí. Nastavte ho "
                     u"v systéme."_s);
    }

    // What the editor stores: exactly what the fields hold.
    void editorStores_data() {
        QTest::addColumn<QString>("meno");
        QTest::addColumn<QString>("priezvisko");
        QTest::addColumn<QString>("stored"); // meno as read back
        QTest::newRow("a column's name") << u"meno"_s << u"priezvisko"_s << u"meno"_s;
        QTest::newRow("quotes") << u"Ján \"Jano\" O'Neil"_s << QString()
                                << u"Ján \"Jano\" O'Neil"_s;
        QTest::newRow("only blanks") << u"   "_s << QString() << u"   "_s;
        QTest::newRow("10,000 characters")
            << QString(10000, u'ô') << u"X"_s << QString(10000, u'ô');
        QTest::newRow("outside the code page") << u"日本"_s << u"Y"_s << u"??"_s;
    }
    void editorStores() {
        QFETCH(QString, meno);
        QFETCH(QString, priezvisko);
        QFETCH(QString, stored);
        TempHome home;
        AddressBook a;
        Tformzaznam* e = a.open("novymenu");
        AddressBook::set(e, u"meno"_s, meno);
        AddressBook::set(e, u"priezvisko"_s, priezvisko);
        a.t.dialogs.answers = {IDialogs::Answer::Yes}; // stored with "?" where asked
        e->ulozitClick();
        QTRY_VERIFY(!OpenWindow<Tformzaznam>());
        QCOMPARE(rows(u"SELECT meno, priezvisko, viditelnost FROM mojekontakty"_s),
                 (QList<QStringList>{{stored, priezvisko, u"1"_s}}));
    }

    void editorHidesAndKeeps() {
        TempHome home;
        addContacts({{u"Ján"_s, u"Novák"_s, u"tel1=02 123"_s, u"web=novak.sk"_s}});
        AddressBook a;
        a.options([](Tformmoznostiadresara* d) { checkOnly(d, {0, 1, 12}); });
        Tformzaznam* e = a.open("upravit");
        QCOMPARE(e->windowTitle(), u"Úprava záznamu JánNovák"_s);
        QVERIFY(!e->findChild<QLineEdit*>(u"tel1vstup"_s)->isVisible());
        QVERIFY(!e->findChild<QLabel*>(u"tel1vyzva"_s)->isVisible());
        // The others keep their places.
        QVERIFY(e->findChild<QLineEdit*>(u"mail1vstup"_s)->isVisible());
        QCOMPARE(e->findChild<QLineEdit*>(u"mail1vstup"_s)->y(),
                 e->findChild<QLineEdit*>(u"menovstup"_s)->y());
        // Both names emptied: refused, the editor keeps what was typed.
        AddressBook::set(e, u"meno"_s, QString());
        AddressBook::set(e, u"priezvisko"_s, QString());
        AddressBook::set(e, u"mail1"_s, u"jan@novak.sk"_s);
        a.t.dialogs.boxes.clear();
        e->ulozitClick();
        QCOMPARE(a.t.dialogs.boxes.size(), 1);
        QCOMPARE(a.t.dialogs.boxes[0].text,
                 u"Nebolo zadané meno ani priezvisko. Vyplňte aspoň jedno z uvedených polí!"_s);
        QCOMPARE(OpenWindow<Tformzaznam>(), e);
        AddressBook::set(e, u"priezvisko"_s, u"Novák"_s);
        e->ulozitClick();
        QTRY_VERIFY(!OpenWindow<Tformzaznam>());
        QCOMPARE(rows(u"SELECT meno, priezvisko, tel1, mail1, web FROM mojekontakty"_s),
                 (QList<QStringList>{
                     {QString(), u"Novák"_s, u"02 123"_s, u"jan@novak.sk"_s, u"novak.sk"_s}}));
        // Read mode: the names joined as the title, nothing to save.
        a.back();
        QTest::keyClick(a.window()->findChild<QWidget*>(u"zoznam"_s), Qt::Key_Return);
        e = OpenWindow<Tformzaznam>();
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), u"Novák"_s);
        QVERIFY(!e->findChild<QPushButton*>(u"ulozit"_s)->isVisible());
    }
};

VELMORAND_TEST_MAIN(TestAddressBook)
#include "tst_addressbook.moc"
