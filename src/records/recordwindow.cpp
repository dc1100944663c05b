#include "recordwindow.h"

#include "shell/formvelmorand.h"
#include "shell/guard.h"
#include "shell/programcontext.h"

#include <QAction>
#include <QCloseEvent>

using namespace Qt::Literals::StringLiterals;

TRecordWindow::TRecordWindow(TProgramContext& context, Kind kind)
    : m_context(context), m_kind(std::move(kind)) {
    setObjectName(m_kind.name);
    setWindowTitle(context.strings[m_kind.titleString]);

    const auto key = [this](QKeyCombination keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, handler] { Guarded(m_context.dialogs, handler); });
        addAction(action);
    };
    const std::pair<Qt::Key, const char16_t*> switches[] = {
        {Qt::Key_F1, u"poznamky"}, {Qt::Key_F2, u"diar"}, {Qt::Key_F3, u"adresar"},
        {Qt::Key_F4, u"dennik"},   {Qt::Key_F5, u"narodky"}};
    for (const auto& [fkey, name] : switches)
        if (fkey != m_kind.ownKey)
            key(QKeyCombination(fkey), [this, name = QString::fromUtf16(name)] { switchTo(name); });
    key(QKeyCombination(Qt::Key_F12), [this] { backToMain(); });
    key(QKeyCombination(Qt::AltModifier, Qt::Key_F4), [this] { m_context.windows.main->Skryvsetko(); });
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
