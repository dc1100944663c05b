#pragma once

#include <QMainWindow>

class TProgramContext;

// A window of records. It lives for the whole run and is hidden, never
// destroyed, when it closes. The F-keys switch to the other windows, F12
// brings back the main window, Alt+F4 hides the whole program.
class TRecordWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Kind {
        QString name;      // its last-window name: "poznamky", "diar", ...
        Qt::Key ownKey;    // the F-key that shows it, which it does not handle
        bool f12ClosesAll; // F12 closes all five record windows, not only itself
        int titleString;   // language string of its title
    };

    TRecordWindow(TProgramContext& context, Kind kind);

    const Kind& kind() const { return m_kind; }
    TProgramContext& context() { return m_context; }
    // Shows the window and makes it the active one.
    void showActive();

protected:
    // Runs whenever the window closes (F-key switch, F12, the close box).
    virtual void FormClose() {}
    // Runs when the window is shown or comes back from another window of the program.
    virtual void FormActivate() {}
    void closeEvent(QCloseEvent* event) override;

    TProgramContext& m_context;

private:
    void switchTo(const QString& name);
    void backToMain();

    Kind m_kind;
};
