#include "formpoznamky.h"

#include "formzaznampoznamky.h"
#include "platform/dialogs.h"
#include "shell/formvelmorand.h"
#include "shell/programcontext.h"
#include "storage/sqlite.h"

#include <QFileInfo>
#include <QMenuBar>

using namespace Qt::Literals::StringLiterals;

TFormpoznamky::TFormpoznamky(TProgramContext& context)
    : TGroupedWindow(context, {u"poznamky"_s, Qt::Key_F1, true, 1}, context.modules.poznamky,
                     {1, 39}) {
    QMenu* usporiadat = menuBar()->addMenu(context.strings[15]);
    usporiadat->setObjectName(u"usporiadat"_s);
    const auto item = [&](const char* name, int text, void (TFormpoznamky::*command)()) {
        QAction* action = menuCommand(usporiadat, name, text, QKeySequence(),
                                      [this, command] { (this->*command)(); });
        action->setCheckable(true);
        return action;
    };
    podlaid = item("podlaid", 16, &TFormpoznamky::podlaidClick);
    podlamena = item("podlamena", 17, &TFormpoznamky::podlamenaClick);
    opacne = item("opacne", 18, &TFormpoznamky::opacneClick);
}

QString TFormpoznamky::listQuery() const {
    // Only what the list shows: the bodies stay in the file.
    return u"SELECT id, predmet FROM "_s + viewQueryTail();
}

QString TFormpoznamky::itemCaption(const TSQLiteTable& row) const {
    return row.CellTextOrEmpty(1);
}

void TFormpoznamky::exportRecord(const TSQLiteTable& row, QStringList& lines) const {
    for (const char16_t* column : {u"datum", u"predmet", u"obsah"})
        lines.append(row.CellTextOrEmpty(row.ColumnIndex(QString::fromUtf16(column))));
    lines.append(QString());
}

QStringList TFormpoznamky::viewLines() const {
    const TModuleState& m = m_context.modules.poznamky;
    return {m.table, m.caption, m.filter, m.order, m.direction};
}

void TFormpoznamky::readViewLines(const QStringList& lines) {
    TGroupedWindow::readViewLines(lines);
    // The SQL pieces of the view are taken only as the program writes them:
    // a damaged line takes its default, so the list can always be shown.
    const auto known = [&](int line, std::initializer_list<const char16_t*> values,
                           const QString& fallback) {
        const QString text = lines.value(line);
        for (const char16_t* value : values)
            if (text == QStringView(value))
                return text;
        return fallback;
    };
    TModuleState& m = m_context.modules.poznamky;
    m.filter = known(2, {u"", u"where viditelnost=1"}, u"where viditelnost=1"_s);
    m.order = known(3, {u"", u"ORDER BY id", u"ORDER BY predmet"}, u"ORDER BY id"_s);
    m.direction = known(4, {u"", u" DESC"}, QString());
}

void TFormpoznamky::beforeActivate() {
    // The welcome message, until the settings file exists.
    if (QFileInfo::exists(TSettings::FileName))
        return;
    const TLanguageTable& s = m_context.strings;
    QStringList lines;
    for (int i = 190; i <= 195; ++i)
        lines.append(s[i]);
    m_context.dialogs.messageBox(nullptr, s[189], lines.join(u'\n'), IDialogs::Icon::Information);
    m_context.windows.main->Ulozini();
}

void TFormpoznamky::openEditor(EditorMode mode, qint64 id) {
    auto* editor = new Tformzaznampoznamky(*this, mode, id);
    editor->showMaximized();
    editor->raise();
    editor->activateWindow();
}

void TFormpoznamky::podlaidClick() {
    m_context.modules.poznamky.order = u"ORDER BY id"_s;
    podlaid->setChecked(true);
    podlamena->setChecked(false);
    Aktualizuj();
}

void TFormpoznamky::podlamenaClick() {
    m_context.modules.poznamky.order = u"ORDER BY predmet"_s;
    podlamena->setChecked(true);
    podlaid->setChecked(false);
    Aktualizuj();
}

void TFormpoznamky::opacneClick() {
    // The action has toggled its mark already.
    m_context.modules.poznamky.direction = opacne->isChecked() ? u" DESC"_s : QString();
    Aktualizuj();
}
