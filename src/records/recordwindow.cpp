#include "recordwindow.h"

#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "context/windowkeys.h"
#include "recordkind.h"

#include <QCloseEvent>

using namespace Qt::Literals::StringLiterals;

TRecordWindow::TRecordWindow(TProgramContext& context, const TRecordKind& kind)
    : m_context(context), m_title(kind.title), m_kind(kind) {
    Q_ASSERT(context.host);
    setObjectName(name());
    setWindowTitle(context.strings[m_title]);

    IDialogs& dialogs = m_context.dialogs;
    IWindowHost& host = *m_context.host;
    for (const TWindowKey& key : host.windowKeys())
        if (key.key != m_kind.key)
            AddWindowKey(this, dialogs, QKeyCombination(key.key),
                         [this, name = key.name] { switchTo(name); });
    AddWindowKey(this, dialogs, QKeyCombination(Qt::Key_F12), [this] { backToMain(); });
    AddWindowKey(this, dialogs, QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F),
                 [&host] { host.ShowSearch(); });
    AddMenuBarKey(this, dialogs);
    AddWindowKey(this, dialogs, QKeyCombination(Qt::AltModifier, Qt::Key_F4),
                 [&host] { host.Skryvsetko(); });
    host.watchActivation(this, [this] { Guarded(m_context.dialogs, [this] { FormActivate(); }); });
}

QString TRecordWindow::name() const {
    return QString::fromUtf16(m_kind.name);
}

QString TRecordWindow::title() const {
    return m_context.strings[m_title];
}

void TRecordWindow::Aplikujjazyk() {
    Recaption(this, m_context.strings);
    setWindowTitle(title());
}

void TRecordWindow::showActive() {
    showMaximized();
    raise();
    activateWindow();
}

void TRecordWindow::switchTo(const QString& name) {
    m_context.settings.lastWindow = name;
    close();
    m_context.host->ShowWindowNamed(name);
}

void TRecordWindow::backToMain() {
    m_context.settings.lastWindow = TSettings::MainWindow;
    m_context.host->ShowWindowNamed(TSettings::MainWindow);
    if (f12ClosesAll())
        m_context.host->CloseRecordWindows();
    else
        close();
}

void TRecordWindow::closeEvent(QCloseEvent* event) {
    // Closed by the user (the close button, the window manager's keys), the
    // window stays closed: the main window is what the program shows next.
    if (event->spontaneous() && m_context.settings.lastWindow == name())
        m_context.settings.lastWindow = TSettings::MainWindow;
    Guarded(m_context.dialogs, [this] { FormClose(); });
    event->accept();
}
