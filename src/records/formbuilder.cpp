#include "formbuilder.h"

#include "context/captions.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// What the user typed, in the stored form: lines end with CR LF.
QString toStored(QString edited) {
    return edited.replace(u'\n', u"\r\n"_s);
}

} // namespace

void MakeOneLine(QLineEdit* edit) {
    edit->setMaxLength(std::numeric_limits<int>::max());
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        if (!text.contains(u'\n') && !text.contains(u'\r'))
            return;
        const int cursor = edit->cursorPosition();
        QString oneLine = text;
        oneLine.replace(u"\r\n"_s, u" "_s).replace(u'\r', u' ').replace(u'\n', u' ');
        edit->setText(oneLine);
        edit->setCursorPosition(std::min(cursor, int(oneLine.size())));
    });
}

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
            auto* text = new QPlainTextEdit(this);
            // Tab goes on to the next field, as in every field of a form.
            text->setTabChangesFocus(true);
            // Lines wrap between words only: with breaks anywhere, a long
            // line without a blank takes a minute to lay out.
            text->setWordWrapMode(QTextOption::WordWrap);
            edit = text;
        } else {
            auto* line = new QLineEdit(this);
            MakeOneLine(line);
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
    for (const TFormField& field : m_fields)
        if (QWidget* e = edit(QString::fromLatin1(field.name)); !e->isHidden())
            return e;
    return nullptr;
}

void TForm::hideField(const QString& name) {
    for (QWidget* w : {static_cast<QWidget*>(label(name)), edit(name)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        w->hide();
    }
}

QString TForm::shownText(const QPlainTextEdit* edit) {
    QString text = edit->document()->toRawText();
    return text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
}

QString TForm::text(const QString& name) const {
    QWidget* widget = edit(name);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    auto* multiLine = qobject_cast<QPlainTextEdit*>(widget);
    if (!multiLine)
        return QString();
    const QString now = shownText(multiLine);
    const auto loaded = m_loaded.constFind(name);
    if (loaded == m_loaded.cend())
        return toStored(now);
    // The stored text around the part that changed stays as it was.
    const QString& before = loaded->shown;
    qsizetype head = 0;
    while (head < before.size() && head < now.size() && before[head] == now[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < now.size() - head &&
           before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
        ++tail;
    const std::vector<qsizetype>& at = loaded->storedAt;
    return loaded->stored.left(at[std::size_t(head)]) +
           toStored(now.mid(head, now.size() - head - tail)) +
           loaded->stored.mid(at[std::size_t(before.size() - tail)]);
}

void TForm::setText(const QString& name, const QString& stored) {
    QWidget* widget = edit(name);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(stored);
        return;
    }
    auto* multiLine = qobject_cast<QPlainTextEdit*>(widget);
    if (!multiLine)
        return;
    // CR LF, a lone CR and a lone LF each show as a new line.
    Loaded loaded{stored, QString(), {}};
    for (qsizetype i = 0; i < stored.size(); ++i) {
        loaded.storedAt.push_back(i);
        const QChar c = stored[i];
        if (c == u'\r' && i + 1 < stored.size() && stored[i + 1] == u'\n')
            ++i;
        loaded.shown += c == u'\r' ? QChar(u'\n') : c;
    }
    loaded.storedAt.push_back(stored.size());
    multiLine->setPlainText(loaded.shown);
    if (shownText(multiLine) == loaded.shown)
        m_loaded.insert(name, std::move(loaded));
    else
        m_loaded.remove(name); // the editor changed it on the way in
}

QStringList TForm::texts() const {
    QStringList all;
    for (const TFormField& field : m_fields)
        all.append(text(QString::fromLatin1(field.name)));
    return all;
}

void TForm::clear() {
    m_loaded.clear();
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
