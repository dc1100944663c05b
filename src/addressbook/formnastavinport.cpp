#include "formnastavinport.h"

#include "contactfields.h"
#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "formadresar.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// A first-line value as a row shows it: a long one is cut.
QString shown(const QString& value) {
    constexpr qsizetype kMost = 200;
    return value.size() <= kMost ? value : value.left(kMost) + u'…';
}

} // namespace

Tformnastavinport::Tformnastavinport(TFormadresar& window) : QDialog(&window), m_window(window) {
    setObjectName(u"formnastavinport"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, &window, [&window] { window.activateWindow(); });
    const TLanguageTable& s = window.context().strings;
    volby = new QListWidget;
    volby->setObjectName(u"volby"_s);
    volby->setMinimumWidth(250);
    volby->installEventFilter(this);
    klavesy = new QLabel;
    klavesy->setObjectName(u"klavesy"_s);
    Caption(klavesy, s, Str::ImportKeys);
    preskocit = new QCheckBox;
    preskocit->setObjectName(u"preskocit"_s);
    Caption(preskocit, s, Str::ImportSkipFirstLine);
    preskocit->setChecked(window.importState().skipHeader);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(volby, 1);
    layout->addWidget(klavesy);
    layout->addWidget(preskocit);
    AddOkCancel(layout, this, s, ok, zrusit);
    ConnectGuarded(m_window.context().dialogs, ok, &QPushButton::clicked, this,
                   [this] { okClick(); });
    window.importState().selected = 0;
    Aplikujjazyk();
    volby->setFocus();
}

void Tformnastavinport::Aplikujjazyk() {
    const TLanguageTable& s = m_window.context().strings;
    Recaption(this, s);
    setWindowTitle(s[Str::ImportSetup]);
    Nacitajhlavicky();
}

void Tformnastavinport::Nacitajhlavicky() {
    const TLanguageTable& s = m_window.context().strings;
    const TImportState& state = m_window.importState();
    const auto value = [&](int position) {
        return shown(state.firstColumns.value(state.map[position]));
    };
    volby->clear();
    for (int p = 0; p < 24; ++p)
        volby->addItem(s[kContactFields[p].label] + u" = "_s + value(p));
    for (int p = 24; p < state.columnCount && p < kImportColumns; ++p)
        volby->addItem(u" = "_s + value(p));
    volby->setCurrentRow(state.selected);
}

bool Tformnastavinport::eventFilter(QObject* watched, QEvent* event) {
    if (watched != volby || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_F1 && key != Qt::Key_Control && key != Qt::Key_Space)
        return false;
    TImportState& state = m_window.importState();
    // The keys act on the selected row, and on nothing without one.
    if (volby->currentRow() < 0 || volby->selectedItems().isEmpty())
        return true;
    state.selected = volby->currentRow();
    const bool changed = key == Qt::Key_F1        ? state.Posunhore()
                         : key == Qt::Key_Control ? state.Posundole()
                                                  : state.Pridajpole();
    if (changed) {
        m_window.context().host->Pipni();
        Nacitajhlavicky();
        volby->setFocus();
    }
    return true;
}

void Tformnastavinport::okClick() {
    m_window.importState().skipHeader = preskocit->isChecked();
    m_window.Doinportuj();
    accept();
}
