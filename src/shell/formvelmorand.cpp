#include "formvelmorand.h"

#include "activation.h"
#include "guard.h"
#include "hotkeytext.h"
#include "platform/hotkeys.h"
#include "platform/sound.h"
#include "platform/trace.h"
#include "platform/trayicon.h"
#include "programcontext.h"
#include "records/recordwindow.h"
#include "reminders.h"
#include "storage/linefile.h"
#include "windowkeys.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

enum HotKeyId { AlarmKey = 1, ShowHideKey = 2 };

template <typename T> T* named(T* object, const QString& name) {
    object->setObjectName(name);
    return object;
}

QKeyCombination combinationOf(const QKeySequenceEdit* edit) {
    const QKeySequence sequence = edit->keySequence();
    return sequence.isEmpty() ? QKeyCombination() : sequence[0];
}

} // namespace

Tformvelmorand::Tformvelmorand(TProgramContext& context)
    : m_context(context), m_activation(new TActivationTracker(this)) {
    setObjectName(u"formvelmorand"_s);
    setWindowTitle(u"Velmorand 2.1"_s);
    // No announcements until the settings say otherwise.
    m_context.settings.mode = 0;
    m_context.windows.main = this;
    buildControls();
    buildMenus();

    TrayIkona = new TTrayIkona(m_context.makeTrayArea(), this);
    TrayIkona->setObjectName(u"TrayIkona"_s);
    TrayIkona->setHint(u"Ikona"_s);
    TrayIkona->setPopupMenu(Popup);
    m_reminders = new TReminders(m_context, *this, *TrayIkona);

    Timer2.setObjectName(u"Timer2"_s);
    Timer2.setInterval(1000);
    Timer2.setSingleShot(true);
    connect(&Timer2, &QTimer::timeout, this,
            [this] { Guarded(m_context.dialogs, [this] { Timer2Timer(); }); });

    connect(&m_context.hotKeys, &IHotKeys::activated, this, [this](int id) {
        Guarded(m_context.dialogs, [this, id] {
            if (id == AlarmKey)
                Vypnialarm();
            if (id == ShowHideKey)
                ToggleProgram();
        });
    });
    m_activation->watch(this, [this] { Guarded(m_context.dialogs, [this] { FormActivate(); }); });
}

Tformvelmorand::~Tformvelmorand() {
    if (m_context.windows.main == this)
        m_context.windows.main = nullptr;
}

void Tformvelmorand::buildControls() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);

    oknozdiara =
        named(new QCheckBox(u"Zobrazovať okno pri pripomienke z diára?"_s), u"oknozdiara"_s);
    skrytokno = named(new QCheckBox(u"Skryť po štarte okno programu"_s), u"skrytokno"_s);
    autorun = named(new QCheckBox(u"Spustiť Velmorand po štarte Windows"_s), u"autorun"_s);
    autoupdate =
        named(new QCheckBox(u"Automaticky pri štarte hľadať nové verzie"_s), u"autoupdate"_s);
    hladatupdate = named(new QPushButton(u"vyhľadať novú verziu teraz"_s), u"hladatupdate"_s);
    oknozdiara->setChecked(true);
    skrytokno->setChecked(true);
    auto* updateRow = new QHBoxLayout;
    updateRow->addWidget(autoupdate);
    updateRow->addWidget(hladatupdate);
    updateRow->addStretch();
    layout->addWidget(oknozdiara);
    layout->addWidget(skrytokno);
    layout->addWidget(autorun);
    layout->addLayout(updateRow);

    RadioGroup = named(new QGroupBox(u"Oznamovanie času"_s), u"RadioGroup"_s);
    radioItems = new QButtonGroup(RadioGroup);
    auto* radioLayout = new QVBoxLayout(RadioGroup);
    const char16_t* items[] = {u"neoznamovať", u"oznamovať celú hodinu",
                               u"oznamovať každú polhodinu", u"oznamovať každú štvrťhodinu"};
    for (int i = 0; i < 4; ++i) {
        auto* item = named(new QRadioButton(QString::fromUtf16(items[i])), u"RadioItem%1"_s.arg(i));
        radioItems->addButton(item, i);
        radioLayout->addWidget(item);
    }
    radioItems->button(1)->setChecked(true);
    layout->addWidget(RadioGroup);

    auto* keys = new QGridLayout;
    vyzvadiar =
        named(new QLabel(u"Zadajte klávesovú skratku pre vypnutie alarmu"_s), u"vyzvadiar"_s);
    HotKey1 = named(new QKeySequenceEdit, u"HotKey1"_s);
    vyzvaokno = named(new QLabel(u"Zadajte klávesovú skratku pre zobrazenie okna programu"_s),
                      u"vyzvaokno"_s);
    HotKey2 = named(new QKeySequenceEdit, u"HotKey2"_s);
    vyzvadiar->setBuddy(HotKey1);
    vyzvaokno->setBuddy(HotKey2);
    for (QKeySequenceEdit* edit : {HotKey1, HotKey2}) {
        // A hot key is one combination, not a sequence of them.
        connect(edit, &QKeySequenceEdit::editingFinished, edit, [edit] {
            if (edit->keySequence().count() > 1)
                edit->setKeySequence(QKeySequence(edit->keySequence()[0]));
        });
    }
    keys->addWidget(vyzvadiar, 0, 0);
    keys->addWidget(HotKey1, 0, 1);
    keys->addWidget(vyzvaokno, 1, 0);
    keys->addWidget(HotKey2, 1, 1);
    keys->setColumnStretch(2, 1);
    layout->addLayout(keys);

    kos = named(new QPushButton(u"Vyprázdniť kôš"_s), u"kos"_s);
    vymazat = named(new QPushButton(u"Vymazať všetky záznamy"_s), u"vymazat"_s);
    ok = named(new QPushButton(u"OK"_s), u"ok"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(kos);
    buttons->addWidget(vymazat);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    layout->addStretch();
    setCentralWidget(page);

    // Commands whose windows are not part of the program yet stay disabled.
    for (QPushButton* later : {hladatupdate, kos, vymazat})
        later->setEnabled(false);
    connect(ok, &QPushButton::clicked, this,
            [this] { Guarded(m_context.dialogs, [this] { okClick(); }); });
}

void Tformvelmorand::buildMenus() {
    Program1 = named(menuBar()->addMenu(u"Program"_s), u"Program1"_s);
    pomoc = named(Program1->addAction(u"Pomoc"_s), u"pomoc"_s);
    about = named(Program1->addAction(u"O programe"_s), u"about"_s);
    mailaut = named(Program1->addAction(u"Poslať mail autorovi"_s), u"mailaut"_s);
    wwwaut = named(Program1->addAction(u"Zobraziť autorove WWW"_s), u"wwwaut"_s);
    koniec = named(Program1->addAction(u"Koniec"_s), u"koniec"_s);
    koniec->setShortcut(QKeySequence(Qt::AltModifier | Qt::Key_F1));
    connect(koniec, &QAction::triggered, this, &QWidget::close);
    Jazyky = named(menuBar()->addMenu(u"Jazyk"_s), u"Jazyky"_s);
    generovat = named(Jazyky->addAction(u"Generovať jazykové reťazce do súboru"_s), u"generovat"_s);
    slovak = named(Jazyky->addAction(u"Slovak"_s), u"slovak"_s);
    for (QAction* later : {pomoc, about, mailaut, wwwaut, generovat, slovak})
        later->setEnabled(false);

    Popup = named(new QMenu(this), u"Popup"_s);
    vypnialarmpopup = named(Popup->addAction(QString()), u"vypnialarmpopup"_s);
    zobrazitoknopopup = named(Popup->addAction(u"Zobraziť"_s), u"zobrazitoknopopup"_s);
    koniecpopup = named(Popup->addAction(u"Koniec"_s), u"koniecpopup"_s);
    vypnialarmpopup->setVisible(false);
    zobrazitoknopopup->setVisible(false);
    connect(vypnialarmpopup, &QAction::triggered, this,
            [this] { Guarded(m_context.dialogs, [this] { Vypnialarm(); }); });
    connect(zobrazitoknopopup, &QAction::triggered, this,
            [this] { Guarded(m_context.dialogs, [this] { ToggleProgram(); }); });
    connect(koniecpopup, &QAction::triggered, this, &QWidget::close);
    connect(Popup, &QMenu::aboutToShow, this, [this] {
        QStringList shown;
        for (QAction* action : Popup->actions())
            if (action->isVisible())
                shown.append(action->text());
        Trace(u"tray menu: "_s + shown.join(u" | "_s));
    });

    for (const TWindowKey& key : kWindowKeys)
        AddWindowKey(this, m_context.dialogs, QKeyCombination(key.key),
                     [this, name = QString::fromUtf16(key.name)] {
                         m_context.settings.lastWindow = name;
                         ShowWindowNamed(name);
                     });
    AddWindowKey(this, m_context.dialogs, QKeyCombination(Qt::AltModifier, Qt::Key_F4),
                 [this] { Skryvsetko(); });
}

// ---- start-up --------------------------------------------------------------

bool Tformvelmorand::FormCreate() {
    TrayIkona->setIconVisible(true);
    if (!Guarded(m_context.dialogs, [this] { Nastavprogram(); }))
        Nastavdefauld();
    if (m_context.settings.lastWindow == u"velmorand")
        m_context.settings.lastWindow = u"poznamky"_s;
    Urcijazyk();
    registerHotKey(AlarmKey, m_context.settings.hotKey1, HotKey1);
    registerHotKey(ShowHideKey, m_context.settings.hotKey2, HotKey2);
    if (!Guarded(m_context.dialogs,
                 [this] { Vytvorsubory(m_context.modules, m_context.defaultCaptions()); }))
        return false;
    Guarded(m_context.dialogs, [this] { Najdizaznam(); });
    m_reminders->start();
    if (skrytokno->isChecked()) {
        m_hidden = true;
        Timer2.start();
        zobrazitoknopopup->setVisible(true);
    } else {
        m_hidden = false;
    }
    return true;
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
    Aplikujjazyk();
}

void Tformvelmorand::Aplikujjazyk() {
    const TLanguageTable& s = m_context.strings;
    setWindowTitle(u"Velmorand 2.1"_s);
    kos->setText(s[123]);
    vymazat->setText(s[124]);
    oknozdiara->setText(s[142]);
    autoupdate->setText(s[143]);
    hladatupdate->setText(s[144]);
    autorun->setText(s[157]);
    skrytokno->setText(s[158]);
    RadioGroup->setTitle(s[159]);
    for (int i = 0; i < 4; ++i)
        radioItems->button(i)->setText(s[160 + i]);
    vyzvadiar->setText(s[164]);
    vyzvaokno->setText(s[165]);
    ok->setText(s[23]);
    Program1->setTitle(s[166]);
    pomoc->setText(s[167]);
    about->setText(s[168]);
    mailaut->setText(s[169]);
    wwwaut->setText(s[170]);
    koniec->setText(s[171]);
    Jazyky->setTitle(s[172]);
    generovat->setText(s[173]);
    vypnialarmpopup->setText(s[187]);
    zobrazitoknopopup->setText(s[188]);
    koniecpopup->setText(s[171]);
}

void Tformvelmorand::registerHotKey(int id, const QString& text, QKeySequenceEdit* edit) {
    const QKeyCombination keys = ParseHotKeyText(text);
    const bool taken = IsHotKey(keys) && m_context.hotKeys.registerHotKey(id, keys);
    Trace(u"hot key %1 %2: %3"_s.arg(id).arg(text, taken ? u"registered"_s : u"not registered"_s));
    edit->setKeySequence(IsHotKey(keys) ? QKeySequence(keys) : QKeySequence());
}

// ---- settings ----------------------------------------------------------------

void Tformvelmorand::showSettingsInControls(bool setMode) {
    const TSettings& settings = m_context.settings;
    oknozdiara->setChecked(settings.oknozdiara);
    autoupdate->setChecked(settings.autoupdate);
    skrytokno->setChecked(settings.skrytokno);
    if (setMode)
        radioItems->button(settings.mode)->setChecked(true);
}

void Tformvelmorand::Nastavprogram() {
    if (QFile::exists(TSettings::FileName)) {
        bool modeRead = false;
        if (ReadSettingsLines(LineFile::read(TSettings::FileName), m_context.settings, &modeRead))
            showSettingsInControls(modeRead);
        else
            Nastavdefauld();
    } else {
        Nastavdefauld();
    }
    Kontrolujstartup();
}

void Tformvelmorand::Nastavdefauld() {
    m_context.settings = TSettings();
    showSettingsInControls(true);
    autorun->setChecked(false);
    m_context.autostart.remove();
}

void Tformvelmorand::Kontrolujstartup() {
    autorun->setChecked(m_context.autostart.isSet());
}

void Tformvelmorand::Ulozini() {
    // Check boxes as they stand; mode and hot keys as last applied.
    TSettings written = m_context.settings;
    written.oknozdiara = oknozdiara->isChecked();
    written.autoupdate = autoupdate->isChecked();
    written.skrytokno = skrytokno->isChecked();
    LineFile::write(TSettings::FileName, SettingsLines(written));
}

void Tformvelmorand::okClick() {
    if (autorun->isChecked())
        m_context.autostart.add();
    else
        m_context.autostart.remove();
    if (const int mode = radioItems->checkedId(); mode >= 0 && mode <= 3)
        m_context.settings.mode = mode;
    m_context.hotKeys.unregisterHotKey(AlarmKey);
    m_context.settings.hotKey1 = HotKeyText(combinationOf(HotKey1));
    registerHotKey(AlarmKey, m_context.settings.hotKey1, HotKey1);
    m_context.hotKeys.unregisterHotKey(ShowHideKey);
    m_context.settings.hotKey2 = HotKeyText(combinationOf(HotKey2));
    registerHotKey(ShowHideKey, m_context.settings.hotKey2, HotKey2);
    Pipni();
    Ulozini();
}

void Tformvelmorand::Pipni() {
    QDir::setCurrent(m_context.home);
    // A beep that cannot be played is reported, but never stops the command
    // it confirms: the settings are saved, the group is switched all the same.
    try {
        m_context.sound.play(u"sounds/beep.wav"_s, 1);
    } catch (const ESoundError& e) {
        m_context.dialogs.errorBox(e.message());
    }
}

void Tformvelmorand::Vypnialarm() {
    m_reminders->Vypnialarm();
}

void Tformvelmorand::Najdizaznam() {
    m_reminders->Najdizaznam();
}

bool Tformvelmorand::showsReminderBox() const {
    return oknozdiara->isChecked();
}

void Tformvelmorand::setAlarmItemVisible(bool visible) {
    vypnialarmpopup->setVisible(visible);
}

// ---- windows ---------------------------------------------------------------

void Tformvelmorand::FormActivate() {
    if (m_hidden)
        return;
    const QString& last = m_context.settings.lastWindow;
    if (last != u"velmorand") {
        ShowWindowNamed(last);
        return;
    }
    Nastavprogram();
    oknozdiara->setFocus();
}

void Tformvelmorand::ShowWindowNamed(const QString& name) {
    QWidget* window = m_context.windows.byName(name);
    if (!window)
        return;
    if (window == this) {
        showMaximized();
        raise();
        activateWindow();
    } else {
        static_cast<TRecordWindow*>(window)->showActive();
    }
    Trace(u"shown: "_s + name);
}

void Tformvelmorand::Skryvsetko() {
    m_hidden = true;
    zobrazitoknopopup->setVisible(true);
    const TWindows& w = m_context.windows;
    for (QWidget* window :
         std::initializer_list<QWidget*>{w.adresar, w.diar, w.poznamky, w.dennik, w.narodky, this})
        if (window)
            window->hide();
    Trace(u"hidden: all"_s);
}

void Tformvelmorand::ShowLastWindow() {
    m_hidden = false;
    zobrazitoknopopup->setVisible(false);
    ShowWindowNamed(m_context.settings.lastWindow);
}

void Tformvelmorand::ToggleProgram() {
    if (m_hidden)
        ShowLastWindow();
    else
        Skryvsetko();
}

void Tformvelmorand::Restore() {
    // Without a notification area (and so, often, without global keys) a
    // later start is the only way back to a hidden program: it shows it.
    if (m_hidden && !TrayIkona->available()) {
        ShowLastWindow();
        Trace(u"woken"_s);
        return;
    }
    QWidget* front = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || !window->isWindow())
            continue;
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        if (!front || window == QApplication::activeWindow())
            front = window;
    }
    if (front) {
        front->raise();
        front->activateWindow();
    }
    Trace(u"woken"_s);
}

void Tformvelmorand::Timer2Timer() {
    hide();
    Timer2.stop();
    Trace(u"hidden at start"_s);
}

// ---- shutdown ----------------------------------------------------------------

void Tformvelmorand::FormClose() {
    Guarded(m_context.dialogs, [this] { Ulozini(); });
    TrayIkona->setIconVisible(false);
    m_context.hotKeys.unregisterHotKey(AlarmKey);
    m_context.hotKeys.unregisterHotKey(ShowHideKey);
}

void Tformvelmorand::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        FormClose();
    }
    event->accept();
    QCoreApplication::quit();
}
