#pragma once

#include "language/strings.h"

#include <QHash>
#include <QWidget>
#include <span>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TLanguageTable;

// A one-line field: no limit on its length (a stored text of any length
// comes back whole), and line breaks that the user pastes into it become
// blanks, so that no one-line value ever holds one.
void MakeOneLine(QLineEdit* edit);

// One field of an editor's form: the column it holds, its label's language
// string, and its kind. The edit is named <name>vstup and its label
// <name>vyzva. With a place (column, row from 1) the field goes into a grid
// of label and edit pairs; without, fields stand one under the other, each
// under its label.
struct TFormField {
    enum Kind { Line, Text };
    const char* name;
    Str label;
    Kind kind = Line;
    int column = -1;
    int row = -1;
};

// The labels and edits of a form, made from a table of fields. Texts go in
// and come out in the stored form: lines of a multi-line field end with CR LF.
// A text comes out exactly as it went in except where the user changed it:
// only what was typed is converted (a new line becomes CR LF), and the rest
// keeps its stored characters (lone CR or LF, non-breaking spaces).
class TForm : public QWidget {
    Q_OBJECT
public:
    TForm(std::span<const TFormField> fields, const TLanguageTable& strings,
          QWidget* parent = nullptr);

    std::span<const TFormField> fields() const { return m_fields; }
    QWidget* edit(const QString& name) const { return m_edits.value(name); }
    QLabel* label(const QString& name) const { return m_labels.value(name); }
    // The first field that is not hidden.
    QWidget* firstEdit() const;
    // Hides a field's label and edit; the others keep their places.
    void hideField(const QString& name);

    QString text(const QString& name) const;
    void setText(const QString& name, const QString& stored);
    // Every field's text, in the order of the table.
    QStringList texts() const;
    // Empties every field.
    void clear();
    // Whether typing is possible (false: the texts can be read and copied only).
    void setReadOnly(bool readOnly);

signals:
    // Enter in a one-line field.
    void entered();

private:
    // A multi-line text as it was put in: the stored text, what the editor
    // showed of it, and where each shown character starts in the stored one.
    struct Loaded {
        QString stored;
        QString shown;
        std::vector<qsizetype> storedAt;
    };
    static QString shownText(const QPlainTextEdit* edit);

    std::span<const TFormField> m_fields;
    QHash<QString, Loaded> m_loaded;
    QHash<QString, QWidget*> m_edits;
    QHash<QString, QLabel*> m_labels;
};
