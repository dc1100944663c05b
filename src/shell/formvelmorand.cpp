#include "formvelmorand.h"

#include "addressbook/addressbookview.h"
#include "binandwipe.h"
#include "birthdays/birthdaynotice.h"
#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "context/windowkeys.h"
#include "hotkeytext.h"
#include "languagechoice.h"
#include "platform/dialogs.h"
#include "platform/hotkeys.h"
#include "platform/programicon.h"
#include "platform/qttranslations.h"
#include "platform/trace.h"
#include "platform/trayicon.h"
#include "programmenu.h"
#include "recordkinds.h"
#include "records/recordkind.h"
#include "reminders.h"
#include "settingsfile.h"
#include "storage/linefile.h"
#include "updatecheck.h"
#include "version.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

enum HotKeyId { AlarmKey = 1, ShowHideKey = 2 };

QKeyCombination combinationOf(const QKeySequenceEdit* edit) {
    const QKeySequence sequence = edit->keySequence();
    return sequence.isEmpty() ? QKeyCombination() : sequence[0];
}

} // namespace

Tformvelmorand::Tformvelmorand(TProgramContext& context, TReminders& reminders)
    : m_context(context), m_reminders(reminders) {
    setObjectName(u"formvelmorand"_s);
    setWindowTitle(u"Velmorand "_s + QLatin1StringView(kVelmorandVersion));
    // No announcements until the settings say otherwise.
    m_context.settings.mode = 0;
    buildControls();
    buildMenus();

    TrayIkona = new TTrayIkona(m_context.makeTrayArea(), this);
    TrayIkona->setObjectName(u"TrayIkona"_s);
    TrayIkona->setHint(u"Ikona"_s);
    TrayIkona->setPopupMenu(Popup);
    // A left click on the icon hides or shows the program, as hot key 2 does.
    TrayIkona->OnClick = [this] {
        Guarded(m_context.dialogs, [this] { m_context.host->ToggleProgram(); });
    };
    connect(&m_reminders, &TReminders::tipChanged, TrayIkona, &TTrayIkona::setHint);
    connect(&m_reminders, &TReminders::alarmRinging, vypnialarmpopup, &QAction::setVisible);
    // The icon says that an alarm rings until it is switched off.
    connect(&m_reminders, &TReminders::alarmRinging, TrayIkona,
            [this](bool ringing) { TrayIkona->setIcon(ringing ? RingingIcon() : QIcon()); });

    Timer2.setObjectName(u"Timer2"_s);
    Timer2.setInterval(1000);
    Timer2.setSingleShot(true);
    ConnectGuarded(m_context.dialogs, &Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });

    connect(&m_context.hotKeys, &IHotKeys::activated, this, [this](int id) {
        Guarded(m_context.dialogs, [this, id] {
            if (id == AlarmKey)
                m_reminders.Vypnialarm();
            if (id == ShowHideKey)
                m_context.host->ToggleProgram();
        });
    });
    m_context.host->watchActivation(
        this, [this] { Guarded(m_context.dialogs, [this] { FormActivate(); }); });
}

Tformvelmorand::~Tformvelmorand() {
    // The focus moves while the window's parts go: no longer this window's.
    disconnect(m_focusWatch);
}

void Tformvelmorand::buildControls() {
    const TLanguageTable& s = m_context.strings;
    const auto named = [&s]<typename T>(T* object, const char* name, Str text) {
        object->setObjectName(QString::fromLatin1(name));
        Caption(object, s, text);
        return object;
    };
    // The settings stand together at the top left, as wide as they need,
    // however large the maximized window is.
    auto* page = new QWidget(this);
    auto* pageLayout = new QHBoxLayout(page);
    auto* settings = new QWidget;
    settings->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    pageLayout->addWidget(settings, 0, Qt::AlignTop);
    pageLayout->addStretch();
    auto* layout = new QVBoxLayout(settings);

    oknozdiara = named(new QCheckBox, "oknozdiara", Str::ShowReminderBox);
    skrytokno = named(new QCheckBox, "skrytokno", Str::HideAtStart);
    zatvorenievtray = named(new QCheckBox, "zatvorenievtray", Str::CloseToTray);
    autorun = named(new QCheckBox, "autorun", Str::StartAtLogin);
    autoupdate = named(new QCheckBox, "autoupdate", Str::AutoUpdate);
    hladatupdate = named(new QPushButton, "hladatupdate", Str::SearchUpdateNow);
    oknozdiara->setChecked(true);
    skrytokno->setChecked(true);
    // The settings follow the three boxes as they stand.
    connect(oknozdiara, &QCheckBox::toggled, this,
            [this](bool on) { m_context.settings.oknozdiara = on; });
    connect(autoupdate, &QCheckBox::toggled, this,
            [this](bool on) { m_context.settings.autoupdate = on; });
    connect(skrytokno, &QCheckBox::toggled, this,
            [this](bool on) { m_context.settings.skrytokno = on; });
    // Kept at once, in the program's own file.
    connect(zatvorenievtray, &QCheckBox::toggled, this, [this](bool on) {
        m_context.own.closeToTray = on;
        if (!m_context.own.save())
            std::fprintf(stderr, "velmorand: %s cannot be written\n",
                         qPrintable(TOwnSettings::FileName));
    });
    auto* updateRow = new QHBoxLayout;
    updateRow->addWidget(autoupdate);
    updateRow->addWidget(hladatupdate);
    updateRow->addStretch();
    layout->addWidget(oknozdiara);
    layout->addWidget(skrytokno);
    layout->addWidget(zatvorenievtray);
    layout->addWidget(autorun);
    layout->addLayout(updateRow);

    RadioGroup = named(new QGroupBox, "RadioGroup", Str::AnnounceTime);
    radioItems = new QButtonGroup(RadioGroup);
    auto* radioLayout = new QVBoxLayout(RadioGroup);
    for (int i = 0; i < 4; ++i) {
        auto* item = new QRadioButton;
        item->setObjectName(u"RadioItem%1"_s.arg(i));
        Caption(item, s, StrAfter(Str::AnnounceNone, i));
        radioItems->addButton(item, i);
        radioLayout->addWidget(item);
    }
    radioItems->button(1)->setChecked(true);
    layout->addWidget(RadioGroup);

    auto* keys = new QGridLayout;
    vyzvadiar = named(new QLabel, "vyzvadiar", Str::AlarmHotKey);
    HotKey1 = new QKeySequenceEdit;
    HotKey1->setObjectName(u"HotKey1"_s);
    vyzvaokno = named(new QLabel, "vyzvaokno", Str::ShowHotKey);
    HotKey2 = new QKeySequenceEdit;
    HotKey2->setObjectName(u"HotKey2"_s);
    vyzvadiar->setBuddy(HotKey1);
    vyzvaokno->setBuddy(HotKey2);
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, &Tformvelmorand::hotKeyEditFocus);
    for (QKeySequenceEdit* edit : {HotKey1, HotKey2}) {
        // A hot key is one combination, not a sequence of them, and one that
        // takes nothing from the rest of the desktop.
        connect(edit, &QKeySequenceEdit::editingFinished, this, [this, edit] {
            const QKeyCombination keys = combinationOf(edit);
            if (!IsHotKey(keys) || IsUsableHotKey(keys)) {
                edit->setKeySequence(IsHotKey(keys) ? QKeySequence(keys) : QKeySequence());
                return;
            }
            showHotKey(edit,
                       edit == HotKey1 ? m_context.settings.hotKey1 : m_context.settings.hotKey2);
            m_context.dialogs.messageBox(this, m_context.strings[Str::Warning],
                                         m_context.strings[Str::HotKeyRefused],
                                         IDialogs::Icon::Information);
        });
    }
    keys->addWidget(vyzvadiar, 0, 0);
    keys->addWidget(HotKey1, 0, 1);
    keys->addWidget(vyzvaokno, 1, 0);
    keys->addWidget(HotKey2, 1, 1);
    keys->setColumnStretch(2, 1);
    layout->addLayout(keys);
    // Where the desktop assigns the keys (Wayland), what it assigned.
    hotkeysource = new QLabel;
    hotkeysource->setObjectName(u"hotkeysource"_s);
    hotkeysource->setWordWrap(true);
    hotkeysource->setTextInteractionFlags(Qt::TextSelectableByMouse);
    hotkeysource->setVisible(m_context.hotKeys.byDesktop());
    layout->addWidget(hotkeysource);
    connect(&m_context.hotKeys, &IHotKeys::assignmentChanged, this, [this] { showAssigned(); });

    kos = named(new QPushButton, "kos", Str::EmptyBin);
    vymazat = named(new QPushButton, "vymazat", Str::DeleteAllRecords);
    ok = named(new QPushButton, "ok", Str::SaveChanges);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(kos);
    buttons->addWidget(vymazat);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addSpacing(layout->spacing() * 2);
    layout->addLayout(buttons);
    setCentralWidget(page);

    m_update = new TUpdateCheck(m_context, this);
    connect(hladatupdate, &QPushButton::clicked, this, [this] {
        hladatupdate->setEnabled(false);
        m_update->hladatupdateClick();
    });
    connect(m_update, &TUpdateCheck::finished, this, [this] { hladatupdate->setEnabled(true); });
    ConnectGuarded(m_context.dialogs, ok, &QPushButton::clicked, this, [this] { okClick(); });
    ConnectGuarded(m_context.dialogs, kos, &QPushButton::clicked, this,
                   [this] { kosClick(m_context, this); });
    ConnectGuarded(m_context.dialogs, vymazat, &QPushButton::clicked, this,
                   [this] { vymazatClick(m_context, this); });
}

void Tformvelmorand::buildMenus() {
    const TLanguageTable& s = m_context.strings;
    const auto item = [&s](QMenu* menu, const char* name, Str text) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        Caption(action, s, text);
        return action;
    };
    const auto topMenu = [&](QMenu* menu, const char* name, Str text) {
        menu->setObjectName(QString::fromLatin1(name));
        Caption(menu, s, text);
        return menu;
    };
    Program1 = topMenu(menuBar()->addMenu(QString()), "Program1", Str::ProgramMenu);
    pomoc = item(Program1, "pomoc", Str::Help);
    about = item(Program1, "about", Str::About);
    mailaut = item(Program1, "mailaut", Str::MailAuthor);
    wwwaut = item(Program1, "wwwaut", Str::AuthorWeb);
    koniec = item(Program1, "koniec", Str::Quit);
    koniec->setShortcut(QKeySequence(Qt::AltModifier | Qt::Key_F1));
    connect(koniec, &QAction::triggered, this, &Tformvelmorand::endProgram);
    Jazyky = topMenu(menuBar()->addMenu(QString()), "Jazyky", Str::LanguageMenu);
    generovat = item(Jazyky, "generovat", Str::GenerateLanguage);
    slovak = Jazyky->addAction(u"Slovak"_s);
    slovak->setObjectName(u"slovak"_s);
    const auto guarded = [this](QAction* action, auto command) {
        ConnectGuarded(m_context.dialogs, action, &QAction::triggered, this, command);
    };
    guarded(pomoc, [this] { pomocClick(m_context); });
    guarded(about, [this] { aboutClick(m_context, this); });
    guarded(mailaut, [this] { mailautClick(m_context); });
    guarded(wwwaut, [this] { wwwautClick(m_context); });
    guarded(generovat, [this] { generovatClick(m_context, this); });
    guarded(slovak, [this] { jazykyClick(m_context, TLanguageTable::Slovak); });

    // The record windows by name, each with the F-key that shows it.
    const auto showRecordWindow = [this](const QString& name) {
        m_context.settings.lastWindow = name;
        m_context.host->ShowWindowNamed(name);
    };
    QMenu* okna = topMenu(menuBar()->addMenu(QString()), "okna", Str::WindowsMenu);
    for (const TRecordKind* kind : RecordKinds()) {
        const QString name = QString::fromUtf16(kind->name);
        QAction* action = item(okna, ("okno" + name.toLatin1()).constData(), kind->title);
        // Shown beside the item; the key itself is the window's.
        action->setShortcut(QKeySequence(kind->key));
        action->setShortcutContext(Qt::WidgetShortcut);
        guarded(action, [showRecordWindow, name] { showRecordWindow(name); });
    }
    okna->addSeparator();
    const QKeySequence searchKeys(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_F);
    QAction* hladat = item(okna, "hladatvsade", Str::SearchEverywhere);
    hladat->setShortcut(searchKeys);
    hladat->setShortcutContext(Qt::WidgetShortcut);
    guarded(hladat, [this] { m_context.host->ShowSearch(); });

    Popup = new QMenu(this);
    Popup->setObjectName(u"Popup"_s);
    vypnialarmpopup = item(Popup, "vypnialarmpopup", Str::AlarmOff);
    zobrazitoknopopup = item(Popup, "zobrazitoknopopup", Str::ShowProgram);
    QAction* hladatpopup = item(Popup, "hladatvsadepopup", Str::SearchEverywhere);
    ConnectGuarded(m_context.dialogs, hladatpopup, &QAction::triggered, this, [this] {
        if (m_context.host->isProgramHidden())
            m_context.host->ShowLastWindow();
        m_context.host->ShowSearch();
    });
    koniecpopup = item(Popup, "koniecpopup", Str::Quit);
    vypnialarmpopup->setVisible(false);
    zobrazitoknopopup->setVisible(false);
    ConnectGuarded(m_context.dialogs, vypnialarmpopup, &QAction::triggered, this,
                   [this] { m_reminders.Vypnialarm(); });
    ConnectGuarded(m_context.dialogs, zobrazitoknopopup, &QAction::triggered, this,
                   [this] { m_context.host->ToggleProgram(); });
    connect(koniecpopup, &QAction::triggered, this, &Tformvelmorand::endProgram);

    for (const TWindowKey& key : m_context.host->windowKeys())
        AddWindowKey(this, m_context.dialogs, QKeyCombination(key.key),
                     [showRecordWindow, name = key.name] { showRecordWindow(name); });
    AddWindowKey(this, m_context.dialogs, QKeyCombination(Qt::AltModifier, Qt::Key_F4),
                 [this] { m_context.host->Skryvsetko(); });
    AddWindowKey(this, m_context.dialogs, searchKeys.operator[](0),
                 [this] { m_context.host->ShowSearch(); });
    AddMenuBarKey(this, m_context.dialogs);
}

// ---- start-up --------------------------------------------------------------

void Tformvelmorand::FormCreate() {
    TrayIkona->setIconVisible(true);
    Nastavprogram();
    m_context.own.load();
    {
        const QSignalBlocker quiet(zatvorenievtray);
        zatvorenievtray->setChecked(m_context.own.closeToTray);
    }
    if (m_context.settings.lastWindow == TSettings::MainWindow)
        m_context.settings.lastWindow = u"poznamky"_s;
    Nacitajjazyky();
    Urcijazyk();
    // In the background: start-up goes on at once.
    if (m_context.settings.autoupdate)
        m_update->Kontrolujupdate();
    registerHotKey(AlarmKey, m_context.settings.hotKey1, HotKey1);
    registerHotKey(ShowHideKey, m_context.settings.hotKey2, HotKey2);
    // A file that cannot be used is named and left as it is; the rest runs.
    QStringList failed;
    for (const TDataFileFailure& failure : CreateDataFiles(m_context)) {
        std::fprintf(stderr, "velmorand: %s: %s\n", qPrintable(failure.file),
                     qPrintable(failure.message));
        failed.append(failure.file);
    }
    if (!failed.isEmpty())
        m_context.dialogs.errorBox(
            m_context.strings[Str::DataFilesUnusable].arg(failed.join(u", "_s)));
    // The address book's choices, which its editors and dialogs share.
    Guarded(m_context.dialogs,
            [this] { Nastavadresar(m_context.modules.adresar, m_context.modules.adresarOptions); });
    // A file already named as unusable is not reported twice.
    if (!failed.contains(m_context.modules.narodky.file))
        Guarded(m_context.dialogs, [this] { Najdinarodky(m_context); });
    Guarded(m_context.dialogs, [this] { m_reminders.Najdizaznam(); });
    m_reminders.start();
}

void Tformvelmorand::startHideTimer() {
    Timer2.start();
}

void Tformvelmorand::Nacitajjazyky() {
    for (const QString& name : LanguageFiles()) {
        // The menu shows an "&" of the name as it is, not as a key mark.
        QAction* language = Jazyky->addAction(QString(name).replace(u'&', u"&&"_s));
        language->setObjectName(name);
        connect(language, &QAction::triggered, this, [this, name] {
            Guarded(m_context.dialogs, [this, &name] { jazykyClick(m_context, name); });
        });
    }
}

void Tformvelmorand::Urcijazyk() {
    TSettings& settings = m_context.settings;
    // The stored name is checked against the same file the loading reads.
    if (settings.language != TLanguageTable::Slovak &&
        !QFile::exists(TLanguageTable::FilePath(settings.language)))
        settings.language = TLanguageTable::Slovak;
    if (!Guarded(m_context.dialogs, [&] { m_context.strings.Nahrajretazce(settings.language); })) {
        settings.language = TLanguageTable::Slovak;
        m_context.strings.Nahrajretazce(settings.language);
    }
    UseQtTranslations(settings.language);
    UseInterfaceLocale(settings.language);
    Aplikujjazyk();
}

void Tformvelmorand::showAssigned() {
    const QString keys = m_context.hotKeys.assigned();
    hotkeysource->setText(
        m_context.strings[Str::HotKeysByDesktop].arg(keys.isEmpty() ? u"\u2013"_s : keys));
}

void Tformvelmorand::Aplikujjazyk() {
    Recaption(this, m_context.strings);
    showAssigned();
    // The desktop shows what each hot key does.
    m_context.hotKeys.describe(AlarmKey, m_context.strings[Str::AlarmOff]);
    m_context.hotKeys.describe(ShowHideKey, m_context.strings[Str::ShowProgram]);
    setWindowTitle(u"Velmorand "_s + QLatin1StringView(kVelmorandVersion));
    // Qt's own text in the hot-key edits, in the language of Qt's texts.
    for (QKeySequenceEdit* edit : {HotKey1, HotKey2})
        if (auto* line = edit->findChild<QLineEdit*>())
            line->setPlaceholderText(QKeySequenceEdit::tr("Press shortcut"));
}

bool Tformvelmorand::registerHotKey(int id, const QString& text, QKeySequenceEdit* edit) {
    const bool taken = grabHotKey(id, text);
    showHotKey(edit, text);
    return taken;
}

bool Tformvelmorand::grabHotKey(int id, const QString& text) {
    const QKeyCombination keys = ParseHotKeyText(text);
    const bool taken = IsUsableHotKey(keys) && m_context.hotKeys.registerHotKey(id, keys);
    Trace(u"hot key %1 %2: %3"_s.arg(id).arg(text, taken ? u"registered"_s : u"not registered"_s));
    return taken || !IsUsableHotKey(keys);
}

void Tformvelmorand::hotKeyEditFocus(QWidget* before, QWidget* now) {
    const auto inEdit = [this](QWidget* widget) {
        for (; widget; widget = widget->parentWidget())
            if (widget == HotKey1 || widget == HotKey2)
                return true;
        return false;
    };
    if (m_closed || inEdit(before) == inEdit(now))
        return;
    if (inEdit(now)) {
        m_context.hotKeys.unregisterHotKey(AlarmKey);
        m_context.hotKeys.unregisterHotKey(ShowHideKey);
        Trace(u"hot keys let go while an edit has the focus"_s);
    } else {
        grabHotKey(AlarmKey, m_context.settings.hotKey1);
        grabHotKey(ShowHideKey, m_context.settings.hotKey2);
    }
}

void Tformvelmorand::showHotKey(QKeySequenceEdit* edit, const QString& text) {
    const QKeyCombination keys = ParseHotKeyText(text);
    edit->setKeySequence(IsUsableHotKey(keys) ? QKeySequence(keys) : QKeySequence());
}

// ---- settings ----------------------------------------------------------------

void Tformvelmorand::showSettingsInControls(bool setMode) {
    const TSettings settings = m_context.settings;
    oknozdiara->setChecked(settings.oknozdiara);
    autoupdate->setChecked(settings.autoupdate);
    skrytokno->setChecked(settings.skrytokno);
    if (setMode)
        radioItems->button(settings.mode)->setChecked(true);
}

void Tformvelmorand::Nastavprogram() {
    QStringList lines;
    m_settingsUnreadable = false;
    if (TSettings::FileIsThere()) {
        try {
            lines = LineFile::read(TSettings::FileName);
        } catch (const EFileError& e) {
            // There, but not to be read: the defaults apply and the file stays.
            m_settingsUnreadable = true;
            if (!m_unreadableSaid) {
                m_unreadableSaid = true;
                std::fprintf(stderr, "velmorand: %s\n", qPrintable(e.message()));
                m_context.dialogs.errorBox(
                    m_context.strings[Str::SettingsUnreadable].arg(TSettings::FileName));
            }
        }
    }
    bool modeRead = false;
    if (ReadSettingsLines(lines, m_context.settings, &modeRead))
        showSettingsInControls(modeRead);
    else
        Nastavdefauld();
    // What the edits show without OK is discarded too.
    showHotKey(HotKey1, m_context.settings.hotKey1);
    showHotKey(HotKey2, m_context.settings.hotKey2);
    Kontrolujstartup();
}

void Tformvelmorand::Nastavdefauld() {
    // The autostart entry is the user's, not this home's: defaults leave it.
    m_context.settings = TSettings();
    showSettingsInControls(true);
    autorun->setChecked(false);
}

void Tformvelmorand::Kontrolujstartup() {
    autorun->setChecked(m_context.autostart.isSet());
}

void Tformvelmorand::Ulozini() {
    LineFile::write(TSettings::FileName, SettingsLines(m_context.settings));
}

void Tformvelmorand::okClick() {
    if (autorun->isChecked())
        m_context.autostart.add();
    else
        m_context.autostart.remove();
    if (const int mode = radioItems->checkedId(); mode >= 0 && mode <= 3)
        m_context.settings.mode = mode;
    // A combination that another program holds is said; it stays in the
    // settings, so that it is taken at a later start once it is free.
    QStringList held;
    for (const auto& [id, edit, text] :
         {std::tuple{int(AlarmKey), HotKey1, &m_context.settings.hotKey1},
          std::tuple{int(ShowHideKey), HotKey2, &m_context.settings.hotKey2}}) {
        m_context.hotKeys.unregisterHotKey(id);
        QString chosen = hotKeyOf(edit, *text);
        // An edit emptied is a hot key given up: never without a word.
        if (chosen.isEmpty() && IsUsableHotKey(ParseHotKeyText(*text)) &&
            m_context.dialogs.messageBox(
                this, m_context.strings[Str::Warning],
                m_context.strings[Str::HotKeyEmptied].arg(
                    m_context.strings[edit == HotKey1 ? Str::AlarmHotKey : Str::ShowHotKey]),
                IDialogs::Icon::Question, IDialogs::Buttons::NoYes) != IDialogs::Answer::Yes)
            chosen = *text;
        *text = chosen;
        if (!registerHotKey(id, *text, edit))
            held.append(QKeySequence(ParseHotKeyText(*text)).toString(QKeySequence::NativeText));
    }
    for (const QString& keys : held)
        m_context.dialogs.messageBox(this, m_context.strings[Str::Warning],
                                     m_context.strings[Str::HotKeyTaken].arg(keys),
                                     IDialogs::Icon::Information);
    m_context.host->Pipni();
    Ulozini();
    m_settingsUnreadable = false; // the user's own settings are in the file now
}

QString Tformvelmorand::hotKeyOf(const QKeySequenceEdit* edit, const QString& stored) const {
    const QKeyCombination keys = combinationOf(edit);
    if (IsUsableHotKey(keys))
        return HotKeyText(keys);
    if (!IsHotKey(keys) && IsUsableHotKey(ParseHotKeyText(stored)))
        return QString(); // the user emptied the edit: no hot key
    return stored;
}

// ---- windows ---------------------------------------------------------------

void Tformvelmorand::FormActivate() {
    IWindowHost& host = *m_context.host;
    if (host.isProgramHidden())
        return;
    const QString& last = m_context.settings.lastWindow;
    if (last != TSettings::MainWindow) {
        host.ShowWindowNamed(last);
        return;
    }
    // The page shows the file again, but the language chosen in this run
    // stays: the language is no control of the page.
    const QString language = m_context.settings.language;
    Nastavprogram();
    m_context.settings.language = language;
    oknozdiara->setFocus();
}

void Tformvelmorand::setShowItemVisible(bool visible) {
    zobrazitoknopopup->setVisible(visible);
}

bool Tformvelmorand::trayAvailable() const {
    return TrayIkona->available();
}

void Tformvelmorand::Timer2Timer() {
    hide();
    Timer2.stop();
    Trace(u"hidden at start"_s);
}

// ---- shutdown ----------------------------------------------------------------

void Tformvelmorand::FormClose() {
    if (!m_settingsUnreadable)
        Guarded(m_context.dialogs, [this] { Ulozini(); });
    TrayIkona->setIconVisible(false);
    m_context.hotKeys.unregisterHotKey(AlarmKey);
    m_context.hotKeys.unregisterHotKey(ShowHideKey);
}

void Tformvelmorand::endProgram() {
    m_ending = true;
    close();
}

void Tformvelmorand::closeEvent(QCloseEvent* event) {
    // Closed by the user, the window leaves the program in the notification
    // area, when there is one to come back from.
    if (!m_closed && !m_ending && m_context.own.closeToTray && trayAvailable() &&
        !m_context.dialogs.unattended()) {
        event->ignore();
        Trace(u"closed to the tray"_s);
        m_context.host->Skryvsetko();
        return;
    }
    if (!m_closed) {
        // The editors are asked first: one that keeps its text keeps the
        // program running, with its tray icon and hot keys.
        if (m_context.host && !m_context.host->CloseEditors()) {
            event->ignore();
            return;
        }
        m_closed = true;
        FormClose();
    }
    event->accept();
    // Queued, so that it also ends a program closed before its event loop
    // runs (from a box of the start-up).
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
