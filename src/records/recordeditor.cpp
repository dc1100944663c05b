#include "recordeditor.h"

#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/storable.h"
#include "platform/dialogs.h"
#include "storage/sqlite.h"

#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

TRecordEditor::TRecordEditor(TListWindow& window, Mode mode, qint64 id, const QString& objectName,
                             std::span<const TFormField> fields)
    : QWidget(&window, Qt::Window), m_window(window), m_context(window.context()), m_mode(mode),
      m_table(window.module().table), m_id(id) {
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);
    m_form = new TForm(fields, m_context.strings);
    ulozit = new QPushButton;
    ulozit->setObjectName(u"ulozit"_s);
    ulozit->setDefault(true);
    zrusit = new QPushButton;
    zrusit->setObjectName(u"zrusit"_s);
    Caption(ulozit, m_context.strings, mode == Mode::Update ? Str::SaveChanges : Str::Save);
    Caption(zrusit, m_context.strings, mode == Mode::View ? Str::Close : Str::Cancel);
    ulozit->setVisible(mode != Mode::View);

    m_layout = new QVBoxLayout(this);
    QVBoxLayout* layout = m_layout;
    layout->addWidget(m_form, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ulozit);
    buttons->addWidget(zrusit);
    layout->addLayout(buttons);

    connect(ulozit, &QPushButton::clicked, this, &TRecordEditor::ulozitClick);
    connect(m_form, &TForm::entered, this, &TRecordEditor::ulozitClick);
    connect(zrusit, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* save = new QShortcut(QKeySequence::Save, this);
    save->setContext(Qt::WindowShortcut);
    connect(save, &QShortcut::activated, this, &TRecordEditor::ulozitClick);
}

namespace {

TSQLiteTable recordOf(TSQLiteDatabase& db, const QString& table, qint64 id) {
    return db.Query(u"SELECT * FROM "_s + SqlName(table) + u" WHERE id ="_s + QString::number(id));
}

// A record's values, but for its id and the marks the program sets by
// itself: the bin's (viditelnost) and the alarm's.
QByteArray recordValues(const TSQLiteTable& record) {
    QByteArray values;
    for (int column = 0; column < record.ColumnCount(); ++column) {
        const QString name = record.ColumnName(column);
        if (name == u"ID" || name == u"VIDITELNOST" || name == u"ALARM")
            continue;
        values += name.toUtf8() + '=' + record.CellTextOrEmpty(column).toUtf8() + '\0';
    }
    return values;
}

} // namespace

void TRecordEditor::open() {
    if (m_mode != Mode::Insert) {
        TSQLiteDatabase db(m_window.module().file);
        TSQLiteTable record = recordOf(db, m_table, m_id);
        if (record.Rows() == 0)
            throw ESQLiteException(u"Record %1 not found in %2"_s.arg(m_id).arg(m_table));
        m_stored = recordValues(record);
        fill(record);
    }
    Aplikujjazyk();
    m_form->setReadOnly(m_mode == Mode::View);
    m_opened = m_form->texts();
    if (QWidget* first = m_form->firstEdit())
        first->setFocus();
}

void TRecordEditor::addControl(QWidget* control) {
    m_layout->insertWidget(m_layout->indexOf(m_form) + 1, control);
    // Enter in a date or time field saves, as in a one-line field.
    QList<QAbstractSpinBox*> fields = control->findChildren<QAbstractSpinBox*>();
    if (auto* field = qobject_cast<QAbstractSpinBox*>(control))
        fields.append(field);
    for (QAbstractSpinBox* field : fields)
        if (auto* line = field->findChild<QLineEdit*>())
            connect(line, &QLineEdit::returnPressed, this, &TRecordEditor::ulozitClick);
}

QSize TRecordEditor::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const bool text = std::ranges::any_of(
        m_form->fields(), [](const TFormField& field) { return field.kind == TFormField::Text; });
    return QWidget::sizeHint().expandedTo(
        QSize(metrics.averageCharWidth() * 80, text ? metrics.lineSpacing() * 24 : 0));
}

bool TRecordEditor::isModified() const {
    return m_form->texts() != m_opened;
}

void TRecordEditor::Aplikujjazyk() {
    const TLanguageTable& s = m_context.strings;
    Recaption(this, s);
    switch (m_mode) {
    case Mode::Insert:
        setWindowTitle(s[Str::NewRecord]);
        break;
    case Mode::Update:
        setWindowTitle(s[Str::EditingRecord] + u' ' + m_recordTitle);
        break;
    case Mode::View:
        setWindowTitle(m_recordTitle);
        break;
    }
}

QString TRecordEditor::targetTable() const {
    return inserting() ? m_window.module().table : m_table;
}

void TRecordEditor::recordInserted(TSQLiteDatabase& db, const QString& table) {
    m_table = table;
    m_id = db.LastInsertId();
    // Ready for a save again (when the view file could not be written).
    m_stored = storedRecord(db);
}

std::optional<QByteArray> TRecordEditor::storedRecord(TSQLiteDatabase& db) const {
    try {
        const TSQLiteTable record = recordOf(db, m_table, m_id);
        if (record.Rows() == 0)
            return std::nullopt;
        return recordValues(record);
    } catch (const ESQLiteException& e) {
        // The group's table went with an emptying of the bin or a wipe.
        if (e.fault() == EFault::MissingPart)
            return std::nullopt;
        throw;
    }
}

void TRecordEditor::storeNew(TSQLiteDatabase& db, const Fields& fields) {
    const QString table = targetTable();
    QStringList columns, parameters;
    TSQLiteDatabase::Values values;
    for (const auto& [column, value] : fields) {
        columns.append(column);
        values.append(value);
        parameters.append(u'?' + QString::number(values.size()));
    }
    db.Execute(u"INSERT INTO "_s + SqlName(table) + u'(' + columns.join(u',') + u") VALUES("_s +
                   parameters.join(u',') + u')',
               values);
    recordInserted(db, table);
}

bool TRecordEditor::storeChange(TSQLiteDatabase& db, const Fields& fields) {
    TSQLiteTransaction transaction(db);
    if (!m_stored || storedRecord(db) != m_stored) {
        m_gone = true;
        return false;
    }
    QStringList assignments;
    TSQLiteDatabase::Values values;
    for (const auto& [column, value] : fields) {
        values.append(value);
        assignments.append(column + u"=?"_s + QString::number(values.size()));
    }
    values.emplaceBack(std::in_place_type<qint64>, m_id);
    db.Execute(u"UPDATE "_s + SqlName(m_table) + u" SET "_s + assignments.join(u',') +
                   u" WHERE id=?"_s + QString::number(values.size()),
               values);
    if (db.Changes() != 1)
        throw ESQLiteException(
            u"The change of record %1 in %2 changed %3 records"_s.arg(m_id).arg(m_table).arg(
                db.Changes()),
            EFault::Unexpected, db.fileName());
    m_stored = storedRecord(db);
    transaction.Commit();
    return true;
}

bool TRecordEditor::saveAsNew() {
    const TLanguageTable& s = m_context.strings;
    if (m_context.dialogs.messageBox(this, s[Str::Warning], s[Str::RecordGone],
                                     IDialogs::Icon::Question,
                                     IDialogs::Buttons::YesNo) != IDialogs::Answer::Yes)
        return false; // the editor stays, with what was typed
    m_asNew = true;
    m_id = 0;
    m_stored.reset();
    return Uloz();
}

void TRecordEditor::ulozitClick() {
    if (m_mode == Mode::View)
        return; // nothing typed here can be stored
    Guarded(m_context.dialogs, [&] {
        if (!MayStore(m_context, this, m_form->texts()))
            return; // back to the text, nothing written
        if (!Uloz() && !(std::exchange(m_gone, false) && saveAsNew()))
            return;
        // What was typed stays until the view file is written too.
        m_window.Ulozini();
        m_saved = true;
        m_form->clear();
        afterSave();
        m_window.showSaved(m_id);
        close();
    });
}

void TRecordEditor::closeEvent(QCloseEvent* event) {
    // Changed text is thrown away only when the user says so; the default
    // answer keeps it. When the program ends with the session or on a
    // signal, no one is there to answer, and it goes.
    if (m_mode != Mode::View && !m_saved && isModified() && m_context.dialogs.unattended()) {
        std::fprintf(stderr, "velmorand: an editor's changes were not saved: %s\n",
                     qPrintable(windowTitle()));
    } else if (m_mode != Mode::View && !m_saved && isModified()) {
        const TLanguageTable& s = m_context.strings;
        if (m_context.dialogs.messageBox(this, s[Str::DiscardChangesTitle], s[Str::DiscardChanges],
                                         IDialogs::Icon::Question,
                                         IDialogs::Buttons::NoYes) != IDialogs::Answer::Yes) {
            event->ignore();
            return;
        }
    }
    // As an owned window, it hands the activation back to its owner.
    m_window.activateWindow();
    QWidget::closeEvent(event);
}
