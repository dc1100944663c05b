#include "recordwindow.h"

#include "shell/activation.h"
#include "shell/formvelmorand.h"
#include "shell/guard.h"
#include "shell/programcontext.h"
#include "shell/windowkeys.h"

#include <QCloseEvent>

using namespace Qt::Literals::StringLiterals;

TRecordWindow::TRecordWindow(TProgramContext& context, Kind kind)
    : m_context(context), m_kind(std::move(kind)) {
    setObjectName(m_kind.name);
    setWindowTitle(context.strings[m_kind.titleString]);

    IDialogs& dialogs = m_context.dialogs;
    for (const TWindowKey& key : kWindowKeys)
        if (key.key != m_kind.ownKey)
            AddWindowKey(this, dialogs, QKeyCombination(key.key),
                         [this, name = QString::fromUtf16(key.name)] { switchTo(name); });
    AddWindowKey(this, dialogs, QKeyCombination(Qt::Key_F12), [this] { backToMain(); });
    AddWindowKey(this, dialogs, QKeyCombination(Qt::AltModifier, Qt::Key_F4),
                 [this] { m_context.windows.main->Skryvsetko(); });
    m_context.windows.main->activation().watch(
        this, [this] { Guarded(m_context.dialogs, [this] { FormActivate(); }); });
}

void TRecordWindow::showActive() {
    showMaximized();
    raise();
    activateWindow();
}

void TRecordWindow::switchTo(const QString& name) {
    m_context.settings.lastWindow = name;
    close();
    m_context.windows.main->ShowWindowNamed(name);
}

void TRecordWindow::backToMain() {
    m_context.settings.lastWindow = u"velmorand"_s;
    m_context.windows.main->ShowWindowNamed(u"velmorand"_s);
    if (!m_kind.f12ClosesAll) {
        close();
        return;
    }
    const TWindows& w = m_context.windows;
    for (TRecordWindow* window : {w.poznamky, w.diar, w.adresar, w.dennik, w.narodky})
        if (window)
            window->close();
}

void TRecordWindow::closeEvent(QCloseEvent* event) {
    Guarded(m_context.dialogs, [this] { FormClose(); });
    event->accept();
}
