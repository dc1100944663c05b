#include "groupdialogs.h"

#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "context/storable.h"
#include "formbuilder.h"
#include "groupedwindow.h"
#include "platform/dialogs.h"
#include "recordlist.h"
#include "storage/sqlite.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QPushButton* button(const QString& name, const TLanguageTable& strings, Str text) {
    auto* b = new QPushButton;
    b->setObjectName(name);
    Caption(b, strings, text);
    return b;
}

QHBoxLayout* buttonRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

// A dialog of a record window: closed, it hands the activation back.
void ownedBy(QDialog* dialog, TGroupedWindow& window) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, &window, [&window] { window.activateWindow(); });
}

} // namespace

Tformskupina::Tformskupina(TGroupedWindow& window, Mode mode)
    : QDialog(&window), m_window(window), m_mode(mode) {
    const TLanguageTable& strings = window.context().strings;
    setObjectName(u"formskupina"_s);
    ownedBy(this, window);
    skupinavyzva = new QLabel;
    skupinavyzva->setObjectName(u"skupinavyzva"_s);
    Caption(skupinavyzva, strings, Str::EnterGroupName);
    skupinavstup = new QLineEdit;
    skupinavstup->setObjectName(u"skupinavstup"_s);
    MakeOneLine(skupinavstup);
    skupinavyzva->setBuddy(skupinavstup);
    vytvorit =
        button(u"vytvorit"_s, strings, mode == Mode::Create ? Str::CreateGroup : Str::Change);
    zrusit = button(u"zrusit"_s, strings, Str::Cancel);
    vytvorit->setDefault(true);
    if (mode == Mode::Rename)
        skupinavstup->setText(window.module().caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(skupinavyzva);
    layout->addWidget(skupinavstup);
    layout->addLayout(buttonRow(vytvorit, zrusit));
    connect(vytvorit, &QPushButton::clicked, this, &Tformskupina::vytvoritClick);
    connect(zrusit, &QPushButton::clicked, this, &QDialog::reject);
    Aplikujjazyk();
    skupinavstup->setFocus();
}

void Tformskupina::Aplikujjazyk() {
    const TLanguageTable& strings = m_window.context().strings;
    Recaption(this, strings);
    setWindowTitle(strings[m_mode == Mode::Create ? Str::NewGroup : Str::RenameGroup]);
}

void Tformskupina::vytvoritClick() {
    TProgramContext& context = m_window.context();
    const QString caption = skupinavstup->text();
    if (caption.isEmpty()) {
        context.dialogs.messageBox(nullptr, context.strings[Str::Warning],
                                   context.strings[Str::NoGroupName], IDialogs::Icon::Information);
        return;
    }
    if (!MayStore(context, this, {caption}))
        return;
    bool done = false;
    Guarded(context.dialogs, [&] {
        try {
            if (m_mode == Mode::Create)
                m_window.createGroup(caption);
            else
                m_window.renameGroup(caption);
            done = true;
        } catch (const EGroupName& e) {
            // Said like the empty name: what is wrong and what to do.
            context.dialogs.messageBox(nullptr, context.strings[Str::Warning], e.message(),
                                       IDialogs::Icon::Information);
        }
    });
    if (!done)
        return; // the box has said why; the dialog keeps what was typed
    skupinavstup->clear();
    accept();
}

Tformskupiny::Tformskupiny(TGroupedWindow& window) : QDialog(&window), m_window(window) {
    const TLanguageTable& strings = window.context().strings;
    setObjectName(u"formskupiny"_s);
    ownedBy(this, window);
    m_list = new TRecordListModel(this);
    zoznam = new QTreeView;
    zoznam->setObjectName(u"zoznam"_s);
    zoznam->setModel(m_list);
    zoznam->setRootIsDecorated(false);
    zoznam->setUniformRowHeights(true);
    zoznam->setHeaderHidden(true);
    zoznam->setColumnWidth(0, 300);
    zoznam->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ok = button(u"ok"_s, strings, Str::Ok);
    zrusit = button(u"zrusit"_s, strings, Str::Cancel);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(zoznam);
    layout->addLayout(buttonRow(ok, zrusit));
    connect(ok, &QPushButton::clicked, this, &Tformskupiny::okClick);
    connect(zoznam, &QTreeView::activated, this, &Tformskupiny::okClick);
    connect(zrusit, &QPushButton::clicked, this, &QDialog::reject);
    Aplikujjazyk();

    // The visible groups in catalogue order.
    Guarded(window.context().dialogs, [this] {
        TSQLiteDatabase db(m_window.module().file);
        TRecordItems items;
        db.QueryEach(
            u"SELECT id, captiontable FROM tables WHERE viditelnost=1 ORDER BY id"_s,
            [&](const TSQLiteRow& row) { items.append(row.CellInt64(0), row.CellTextOrEmpty(1)); });
        m_list->setItems(std::move(items));
    });
    if (m_list->count() > 0)
        zoznam->setCurrentIndex(m_list->index(0));
    zoznam->setFocus();
}

void Tformskupiny::Aplikujjazyk() {
    const TLanguageTable& strings = m_window.context().strings;
    Recaption(this, strings);
    setWindowTitle(strings[Str::ChooseGroup]);
}

void Tformskupiny::okClick() {
    const QModelIndexList selected = zoznam->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return; // nothing to choose
    const qint64 id = m_list->idAt(selected.first().row());
    if (Guarded(m_window.context().dialogs, [&] { m_window.chooseGroup(id); }))
        accept();
}
