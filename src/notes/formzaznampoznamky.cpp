#include "formzaznampoznamky.h"

#include "formpoznamky.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "shell/guard.h"
#include "shell/programcontext.h"
#include "storage/sqlite.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Bodies are stored with CR LF line breaks; the editor works with LF.
QString toEditor(QString stored) {
    return stored.replace(u"\r\n"_s, u"\n"_s);
}

QString toStored(QString edited) {
    return edited.replace(u'\n', u"\r\n"_s);
}

QString displayMoment(TProgramContext& context, const QString& stored) {
    return context.patterns.dateTime(ParseDateTimeByFormat(u"yyyy-mm-dd hh:nn:ss"_s, stored));
}

} // namespace

Tformzaznampoznamky::Tformzaznampoznamky(TFormpoznamky& window, Mode mode, qint64 id)
    : QWidget(&window, Qt::Window), m_window(window), m_mode(mode), m_table(window.module().table),
      m_id(id) {
    TProgramContext& context = window.context();
    const TLanguageTable& s = context.strings;
    setObjectName(u"formzaznampoznamky"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    predmetvyzva = new QLabel(s[19]);
    predmetvyzva->setObjectName(u"predmetvyzva"_s);
    predmetvstup = new QLineEdit;
    predmetvstup->setObjectName(u"predmetvstup"_s);
    obsahvyzva = new QLabel(s[20]);
    obsahvyzva->setObjectName(u"obsahvyzva"_s);
    obsahvstup = new QPlainTextEdit;
    obsahvstup->setObjectName(u"obsahvstup"_s);
    predmetvyzva->setBuddy(predmetvstup);
    obsahvyzva->setBuddy(obsahvstup);
    ulozit = new QPushButton;
    ulozit->setObjectName(u"ulozit"_s);
    zrusit = new QPushButton(s[24]);
    zrusit->setObjectName(u"zrusit"_s);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(predmetvyzva);
    layout->addWidget(predmetvstup);
    layout->addWidget(obsahvyzva);
    layout->addWidget(obsahvstup, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ulozit);
    buttons->addWidget(zrusit);
    layout->addLayout(buttons);

    connect(ulozit, &QPushButton::clicked, this, &Tformzaznampoznamky::ulozitClick);
    // Enter in the subject saves; Enter in the body is a new line.
    connect(predmetvstup, &QLineEdit::returnPressed, this, [this] {
        if (ulozit->isVisible())
            ulozitClick();
    });
    connect(zrusit, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    if (mode == Mode::Insert) {
        setWindowTitle(s[3]);
        ulozit->setText(s[21]);
        predmetvstup->setFocus();
        return;
    }
    TSQLiteDatabase db(m_window.module().file);
    TSQLiteTable note =
        db.Query(u"SELECT * FROM "_s + SqlName(m_table) + u" WHERE id ="_s + QString::number(id));
    if (note.Rows() == 0)
        throw ESQLiteException(u"Record %1 not found in %2"_s.arg(id).arg(m_table));
    const QString subject = note.CellTextOrEmpty(note.ColumnIndex(u"predmet"_s));
    obsahvstup->setPlainText(toEditor(note.CellTextOrEmpty(note.ColumnIndex(u"obsah"_s))));
    if (mode == Mode::Update) {
        setWindowTitle(s[22] + u' ' + subject);
        ulozit->setText(s[23]);
        predmetvstup->setText(subject);
        predmetvstup->setFocus();
        return;
    }
    // View: nothing typed here can be stored.
    setWindowTitle(subject);
    ulozit->hide();
    predmetvyzva->hide();
    zrusit->setText(s[25]);
    predmetvstup->setText(
        s[196] + u' ' + displayMoment(context, note.CellTextOrEmpty(note.ColumnIndex(u"datum"_s))) +
        u", "_s + s[197] + u' ' +
        displayMoment(context, note.CellTextOrEmpty(note.ColumnIndex(u"datumzmeny"_s))));
    obsahvstup->setFocus();
}

void Tformzaznampoznamky::closeEvent(QCloseEvent* event) {
    // As an owned window, it hands the activation back to its owner.
    m_window.activateWindow();
    QWidget::closeEvent(event);
}

void Tformzaznampoznamky::ulozitClick() {
    TProgramContext& context = m_window.context();
    Guarded(context.dialogs, [&] {
        const QString now = SqlDateTimeText(context.clock.now(), context.patterns);
        const QString subject = predmetvstup->text();
        if (subject.isEmpty()) {
            context.dialogs.messageBox(nullptr, context.strings[26], context.strings[27],
                                       IDialogs::Icon::Information);
            return;
        }
        const QString body = toStored(obsahvstup->toPlainText());
        {
            TSQLiteDatabase db(m_window.module().file);
            if (m_mode == Mode::Insert)
                // A new note goes to the group that is current now.
                db.Execute(u"INSERT INTO "_s + SqlName(m_window.module().table) +
                           u"(predmet,obsah,datum,datumzmeny,viditelnost) VALUES("_s +
                           SqlText(subject) + u","_s + SqlText(body) + u","_s + SqlText(now) +
                           u","_s + SqlText(now) + u",1);"_s);
            else
                db.Execute(u"UPDATE "_s + SqlName(m_table) + u" SET predmet="_s + SqlText(subject) +
                           u",obsah="_s + SqlText(body) + u",datumzmeny="_s + SqlText(now) +
                           u",viditelnost=1 WHERE id="_s + QString::number(m_id) + u";"_s);
        }
        m_window.Ulozini();
        predmetvstup->clear();
        obsahvstup->clear();
        close();
    });
}
