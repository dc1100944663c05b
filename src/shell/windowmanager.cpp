#include "windowmanager.h"

#include "context/activation.h"
#include "context/captions.h"
#include "context/guard.h"
#include "context/menukeys.h"
#include "context/programcontext.h"
#include "context/search.h"
#include "context/windowsize.h"
#include "formvelmorand.h"
#include "platform/dialogs.h"
#include "platform/qtdialogs.h"
#include "platform/sound.h"
#include "platform/trace.h"
#include "recordkinds.h"
#include "records/listwindow.h"
#include "records/recordeditor.h"
#include "records/recordkind.h"
#include "records/recordwindow.h"
#include "reminders.h"
#include "searchwindow.h"
#include "storage/sqlite.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

TWindowManager::TWindowManager(TProgramContext& context)
    : m_context(context), m_activation(std::make_unique<TActivationTracker>()) {
    for (const TRecordKind* kind : RecordKinds())
        m_keys.append({kind->key, QString::fromUtf16(kind->name)});
    m_context.host = this;
    m_reminders = std::make_unique<TReminders>(context);
    m_context.reminders = m_reminders.get();
    m_main = std::make_unique<Tformvelmorand>(context, *m_reminders);
    // The ringing entry, to be read: the diary on its group, its editor over it.
    ConnectGuarded(m_context.dialogs, m_reminders.get(), &TReminders::openRequested, this,
                   [this](const TReminders::Pending& entry) {
                       openRecord(u"diar"_s, entry.table, entry.caption, entry.id);
                   });
    // The way back is offered whenever no window is on the screen.
    connect(m_main->trayMenu(), &QMenu::aboutToShow, this, [this] {
        m_main->setShowItemVisible(m_hidden || nothingShown());
        QStringList shown;
        for (QAction* action : m_main->trayMenu()->actions())
            if (action->isVisible())
                shown.append(WithoutMenuKeys(action->text()));
        Trace(u"tray menu: "_s + shown.join(u" | "_s));
    });
}

TWindowManager::~TWindowManager() {
    m_records.clear();
    if (m_context.search == m_search.get())
        m_context.search = nullptr;
    m_search.reset();
    m_main.reset();
    if (m_context.reminders == m_reminders.get())
        m_context.reminders = nullptr;
    if (m_context.host == this)
        m_context.host = nullptr;
}

void TWindowManager::start() {
    m_main->FormCreate();
    if (m_ending)
        return; // ended while a box of the start-up was open
    // Search, kept up to the data files from now on, behind the windows.
    QList<TSearchSource> sources;
    for (const TRecordKind* kind : RecordKinds())
        if (kind->searchTitle)
            sources.append(TSearchSource(
                QString::fromUtf16(kind->name), kind->module(m_context.modules),
                QString::fromUtf16(kind->searchTitle), QString::fromUtf16(kind->searchText)));
    m_search = std::make_unique<TSearch>(u"data/Search.idx"_s, std::move(sources));
    m_context.search = m_search.get();
    // The record windows come after the main window's start-up, which
    // therefore touches none of them.
    for (const TRecordKind* kind : RecordKinds())
        m_records.push_back(kind->make(m_context));
    setHidden(m_context.settings.skrytokno);
    if (m_hidden)
        m_main->startHideTimer();
    ShowWindowNamed(TSettings::MainWindow);
}

QWidget* TWindowManager::window(const QString& name) const {
    if (name == TSettings::MainWindow)
        return m_main.get();
    return record(name);
}

TRecordWindow* TWindowManager::record(const QString& name) const {
    for (const auto& window : m_records)
        if (window->name() == name)
            return window.get();
    return nullptr;
}

void TWindowManager::ShowSearch() {
    if (!m_searchWindow)
        m_searchWindow = new TSearchWindow(m_context, m_main.get());
    m_searchWindow->showSearch();
}

void TWindowManager::OpenRecord(const QString& kind, const QString& table, qint64 id) {
    for (const TRecordKind* known : RecordKinds()) {
        if (kind != QStringView(known->name))
            continue;
        const TModuleState& module = known->module(m_context.modules);
        QString caption = module.caption;
        if (module.grouped) {
            TSQLiteDatabase db(module.file);
            const TSQLiteTable row =
                db.Query(u"SELECT captiontable FROM tables WHERE nametable=?1"_s, {table});
            if (row.Rows() > 0)
                caption = row.CellTextOrEmpty(0);
        }
        openRecord(kind, table, caption, id);
    }
}

void TWindowManager::openRecord(const QString& kind, const QString& table, const QString& caption,
                                qint64 id) {
    auto* list = qobject_cast<TListWindow*>(record(kind));
    if (!list)
        return;
    // The window opens on the record's group from now on.
    if (list->module().grouped) {
        const auto toGroup = [&](TModuleState& module) {
            module.table = table;
            module.caption = caption;
        };
        toGroup(list->module());
        RewriteView(list->module(), toGroup);
    }
    m_context.settings.lastWindow = kind;
    list->selectAfterRefresh(id);
    ShowWindowNamed(kind);
    list->readRecord(id);
}

void TWindowManager::ShowWindowNamed(const QString& name) {
    if (name == TSettings::MainWindow) {
        // The settings page at the size of its content (or the user's),
        // not a screen that is mostly empty.
        if (m_main->isMaximized() || m_main->isVisible())
            m_main->show();
        else
            ShowAtKeptSize(m_main.get(), m_context.own);
        m_main->raise();
        m_main->activateWindow();
    } else if (TRecordWindow* window = record(name)) {
        window->showActive();
    } else {
        return;
    }
    Trace(u"shown: "_s + name);
}

void TWindowManager::setHidden(bool hidden) {
    m_hidden = hidden;
    m_main->setShowItemVisible(hidden);
}

void TWindowManager::Skryvsetko() {
    setHidden(true);
    // The boxes, dialogs and editors on the screen go with the windows. A
    // box that waits for an answer is marked first: it waits on, hidden,
    // until the program is shown again.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const bool owned =
            qobject_cast<QDialog*>(window) || qobject_cast<TRecordWindow*>(window->parentWidget());
        if (!owned || !window->isVisible())
            continue;
        window->setProperty(kHiddenWithProgram, true);
        m_hiddenWithProgram.append(window);
    }
    for (const QPointer<QWidget>& window : std::as_const(m_hiddenWithProgram))
        window->hide();
    for (const auto& window : m_records)
        window->hide();
    m_main->hide();
    Trace(u"hidden: all"_s);
}

void TWindowManager::ShowLastWindow() {
    setHidden(false);
    ShowWindowNamed(m_context.settings.lastWindow);
    for (const QPointer<QWidget>& window : std::exchange(m_hiddenWithProgram, {})) {
        if (!window)
            continue;
        // A box's own wait ends when the mark goes; it shows itself again.
        window->setProperty(kHiddenWithProgram, false);
        if (!(qobject_cast<QDialog*>(window) && window->isModal()))
            window->show();
    }
}

bool TWindowManager::nothingShown() const {
    if (m_main->isVisible())
        return false;
    for (const auto& window : m_records)
        if (window->isVisible())
            return false;
    return true;
}

void TWindowManager::ToggleProgram() {
    if (m_hidden || nothingShown())
        ShowLastWindow();
    else
        Skryvsetko();
}

void TWindowManager::Restore() {
    // Without a notification area (and so, often, without global keys) a
    // later start is the only way back to a hidden program: it shows it. A
    // program that is not hidden but shows no window shows its last one.
    if ((m_hidden && !m_main->trayAvailable()) || (!m_hidden && nothingShown())) {
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

void TWindowManager::CloseRecordWindows() {
    for (const auto& window : m_records)
        window->close();
}

bool TWindowManager::CloseEditors() {
    // Hidden ones too: the program may be hidden as a whole.
    for (const auto& window : m_records)
        for (auto* editor : window->findChildren<TRecordEditor*>(Qt::FindDirectChildrenOnly))
            if (!editor->close())
                return false;
    return true;
}

void TWindowManager::RewriteView(const TModuleState& module,
                                 const std::function<void(TModuleState&)>& change) {
    for (const auto& window : m_records)
        if (auto* list = qobject_cast<TListWindow*>(window.get());
            list && &list->module() == &module)
            list->rewriteView(change);
}

void TWindowManager::EndProgram() {
    m_ending = true;
    m_main->endProgram();
}

void TWindowManager::EndUnattended() {
    m_context.dialogs.setUnattended(true);
    // A box already open, or hidden with the program, is answered as closed.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->setProperty(kHiddenWithProgram, false);
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isModal())
            dialog->reject();
    }
    EndProgram();
}

void TWindowManager::Pipni() {
    QDir::setCurrent(m_context.home);
    // A beep that cannot be played is reported, but never stops the command
    // it confirms: the settings are saved, the group is switched all the same.
    try {
        m_context.sound.play(u"sounds/beep.wav"_s, 1);
    } catch (const ENoSoundDevice&) {
        m_reminders->noSoundDevice();
    } catch (const ESoundError& e) {
        m_context.dialogs.errorBox(e);
    }
}

void TWindowManager::Ulozini() {
    m_main->Ulozini();
}

void TWindowManager::watchActivation(QWidget* window, std::function<void()> handler) {
    m_activation->watch(window, std::move(handler));
}

void TWindowManager::Aplikujjazyk() {
    m_main->Aplikujjazyk();
    for (const auto& window : m_records)
        ApplyLanguage(window.get());
    if (m_searchWindow)
        m_searchWindow->Aplikujjazyk();
}
