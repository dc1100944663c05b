#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;
class QWindow;

// Runs a window's activation handler when the window is shown, or becomes
// active coming from another window of the program (an editor or dialog
// closing, another record window, the main window); not when a message box
// closes, nor when the program comes back from another program. Menus,
// pop-up lists and tool tips are not windows that activate: the focus that
// comes back from one comes back to where it was.
class TActivationTracker : public QObject {
    Q_OBJECT
public:
    explicit TActivationTracker(QObject* parent = nullptr);
    ~TActivationTracker() override;
    void watch(QWidget* window, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Source { OtherProgram, MessageBox, ProgramWindow, Popup };
    // How long a window just shown waits for the focus before its handler
    // runs without it, in milliseconds.
    static constexpr int kFocusWait = 500;
    struct Watched {
        QPointer<QWidget> window;
        std::function<void()> handler;
        bool justShown = false;
    };
    void focusChanged(QWindow* window);
    static Source sourceOf(QWidget* window);

    std::vector<Watched> m_watched;
    Source m_last = Source::OtherProgram;
    // The window that had the focus last, pop-ups not counted.
    QPointer<QWidget> m_lastWindow;
    // The active window of ours that is being hidden: the focus it leaves
    // goes to another window of ours, not to another program.
    bool m_closing = false;
    Source m_closingSource = Source::OtherProgram;
};
