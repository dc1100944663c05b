#include "activation.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

TActivationTracker::TActivationTracker(QObject* parent) : QObject(parent) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TActivationTracker::focusChanged);
    qApp->installEventFilter(this);
}

TActivationTracker::~TActivationTracker() {
    qApp->removeEventFilter(this);
}

void TActivationTracker::watch(QWidget* window, std::function<void()> handler) {
    m_watched.push_back({window, std::move(handler), false});
}

TActivationTracker::Source TActivationTracker::sourceOf(QWidget* window) {
    if (window && (window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip))
        return Source::Popup;
    // A box or a dialog that waits for its answer (a file dialog, the long
    // log) is no window the user came from.
    const auto* dialog = qobject_cast<QDialog*>(window);
    return dialog && dialog->isModal() ? Source::MessageBox : Source::ProgramWindow;
}

bool TActivationTracker::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow())
        return false;
    if (event->type() == QEvent::Show) {
        for (Watched& w : m_watched)
            if (w.window == widget) {
                w.justShown = true;
                // A desktop that gives a new window no focus (Wayland without
                // an activation token, a compositor without a keyboard, a
                // window manager that prevents focus stealing) still has it
                // shown: the handler runs all the same.
                QTimer::singleShot(kFocusWait, this, [this, window = QPointer(widget)] {
                    for (std::size_t i = 0; i < m_watched.size(); ++i) {
                        Watched& shown = m_watched[i];
                        if (!window || shown.window != window || !shown.justShown ||
                            !window->isVisible())
                            continue;
                        shown.justShown = false;
                        const auto handler = shown.handler;
                        handler();
                        return;
                    }
                });
            }
    } else if (event->type() == QEvent::Hide && widget->windowHandle() &&
               widget->windowHandle() == QGuiApplication::focusWindow() &&
               sourceOf(widget) != Source::Popup) {
        m_closing = true;
        m_closingSource = sourceOf(widget);
    }
    return false;
}

void TActivationTracker::focusChanged(QWindow* window) {
    if (!window) {
        m_last = m_closing ? m_closingSource : Source::OtherProgram;
        return;
    }
    QWidget* widget = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == window)
            widget = top;
    if (sourceOf(widget) == Source::Popup)
        return; // the window under it keeps its place
    const Source from = m_closing ? m_closingSource : m_last;
    const QWidget* previous = m_lastWindow;
    m_closing = false;
    m_last = sourceOf(widget);
    m_lastWindow = widget;
    for (std::size_t i = 0; i < m_watched.size(); ++i) {
        Watched& w = m_watched[i];
        if (!w.window || w.window != widget)
            continue;
        const bool run = w.justShown || (from == Source::ProgramWindow && previous != widget);
        w.justShown = false;
        if (run) {
            const auto handler = w.handler; // the handler may show other windows
            handler();
        }
    }
}
