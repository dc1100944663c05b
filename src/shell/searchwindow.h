#pragma once

#include "context/captions.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTreeWidget;
class TProgramContext;

// "Hľadať všade": the records of every kind and every shown group whose
// words the typed words start, as the user types: kind, group, date,
// subject or name, and the piece of text with the word found in bold.
// Enter or a double click shows the record in its window to be read.
// A window of its own that lives for the whole run, hidden when closed.
class TSearchWindow : public QWidget, public ITranslatable {
    Q_OBJECT
public:
    TSearchWindow(TProgramContext& context, QWidget* owner);

    // Shows the window in front with the keyboard in its field.
    void showSearch();
    void Aplikujjazyk() override;
    // Room for the five columns and some 30 results.
    QSize sizeHint() const override;

private:
    // Lists the matches of the field's words.
    void search();
    void openSelected();
    bool eventFilter(QObject* watched, QEvent* event) override;

    TProgramContext& m_context;
    QLineEdit* m_field;
    QTreeWidget* m_results;
    QLabel* m_status;
};
