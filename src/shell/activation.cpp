#include "activation.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>

TActivationTracker::TActivationTracker(QObject* parent) : QObject(parent) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TActivationTracker::focusChanged);
}

void TActivationTracker::watch(QWidget* window, std::function<void()> handler) {
    window->installEventFilter(this);
    m_watched.push_back({window, std::move(handler), false});
}

bool TActivationTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        for (Watched& w : m_watched)
            if (w.window == watched)
                w.justShown = true;
    }
    return false;
}

void TActivationTracker::focusChanged(QWindow* window) {
    const Source from = m_last;
    if (!window) {
        m_last = Source::OtherProgram;
        return;
    }
    QWidget* widget = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == window)
            widget = top;
    m_last = qobject_cast<QMessageBox*>(widget) ? Source::MessageBox : Source::ProgramWindow;
    for (std::size_t i = 0; i < m_watched.size(); ++i) {
        Watched& w = m_watched[i];
        if (!w.window || w.window != widget)
            continue;
        const bool run = w.justShown || from == Source::ProgramWindow;
        w.justShown = false;
        if (run) {
            const auto handler = w.handler; // the handler may show other windows
            handler();
        }
    }
}
