#include "formbuilder.h"

#include "context/captions.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// Stored texts end their lines with CR LF; the editor works with LF.
QString toEditor(QString stored) {
    return stored.replace(u"\r\n"_s, u"\n"_s);
}

QString toStored(QString edited) {
    return edited.replace(u'\n', u"\r\n"_s);
}

} // namespace

TForm::TForm(std::span<const TFormField> fields, const TLanguageTable& strings, QWidget* parent)
    : QWidget(parent), m_fields(fields) {
    setObjectName(u"form"_s);
    auto* stacked = new QVBoxLayout(this);
    stacked->setContentsMargins(0, 0, 0, 0);
    QGridLayout* grid = nullptr;
    QWidget* previous = nullptr;
    int rows = 0;
    for (const TFormField& field : fields) {
        const QString name = QString::fromLatin1(field.name);
        auto* label = new QLabel(this);
        label->setObjectName(name + u"vyzva"_s);
        Caption(label, strings, field.label);
        QWidget* edit;
        if (field.kind == TFormField::Text) {
            edit = new QPlainTextEdit(this);
        } else {
            auto* line = new QLineEdit(this);
            // No limit: a stored text of any length comes back whole.
            line->setMaxLength(std::numeric_limits<int>::max());
            connect(line, &QLineEdit::returnPressed, this, &TForm::entered);
            edit = line;
        }
        edit->setObjectName(name + u"vstup"_s);
        label->setBuddy(edit);
        m_edits.insert(name, edit);
        m_labels.insert(name, label);
        if (field.row > 0) {
            if (!grid) {
                grid = new QGridLayout;
                stacked->addLayout(grid);
                stacked->addStretch();
            }
            grid->addWidget(label, field.row, 2 * field.column);
            grid->addWidget(edit, field.row, 2 * field.column + 1);
            rows = std::max(rows, field.row);
        } else {
            stacked->addWidget(label);
            stacked->addWidget(edit, field.kind == TFormField::Text ? 1 : 0);
        }
        if (previous)
            setTabOrder(previous, edit);
        previous = edit;
    }
    if (grid) {
        // A row without fields keeps its place.
        const int height = QLineEdit().sizeHint().height();
        for (int row = 1; row <= rows; ++row)
            grid->setRowMinimumHeight(row, height);
    }
}

QWidget* TForm::firstEdit() const {
    return m_fields.empty() ? nullptr : edit(QString::fromLatin1(m_fields.front().name));
}

QString TForm::text(const QString& name) const {
    QWidget* widget = edit(name);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        return toStored(text->toPlainText());
    return QString();
}

void TForm::setText(const QString& name, const QString& stored) {
    QWidget* widget = edit(name);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(stored);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        text->setPlainText(toEditor(stored));
}

void TForm::clear() {
    for (QWidget* widget : std::as_const(m_edits)) {
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->clear();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
            text->clear();
    }
}

void TForm::setReadOnly(bool readOnly) {
    for (QWidget* widget : std::as_const(m_edits)) {
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->setReadOnly(readOnly);
        else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
            text->setReadOnly(readOnly);
    }
}
