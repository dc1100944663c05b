#pragma once

#include "context/captions.h"

#include "language/strings.h"

#include <QMainWindow>

class TProgramContext;
struct TRecordKind;

// A window of records. It lives for the whole run and is hidden, never
// destroyed, when it closes. The F-keys switch to the other windows, F12
// brings back the main window, Alt+F4 hides the whole program. It reaches
// the rest of the program only through the window host of the context,
// which must exist before the window is made.
class TRecordWindow : public QMainWindow, public ITranslatable {
    Q_OBJECT
public:
    TRecordWindow(TProgramContext& context, const TRecordKind& kind);

    const TRecordKind& kind() const { return m_kind; }
    // Its last-window name: "poznamky", "diar", ...
    QString name() const;
    TProgramContext& context() { return m_context; }
    // Shows the window and makes it the active one.
    void showActive();
    // Applies the current language table: the captions, then the title.
    void Aplikujjazyk() override;
    // Runs when the window is shown or comes back from another window of the program.
    virtual void FormActivate() {}

protected:
    // Runs whenever the window closes (F-key switch, F12, the close box).
    virtual void FormClose() {}
    // Whether F12 closes every record window, not only this one.
    virtual bool f12ClosesAll() const { return false; }
    // The window title in the current language and state.
    virtual QString title() const;
    void closeEvent(QCloseEvent* event) override;

    TProgramContext& m_context;
    const Str m_title;

private:
    void switchTo(const QString& name);
    void backToMain();

    const TRecordKind& m_kind;
};
