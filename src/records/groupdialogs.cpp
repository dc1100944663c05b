#include "groupdialogs.h"

#include "groupedwindow.h"
#include "platform/dialogs.h"
#include "recordlist.h"
#include "shell/guard.h"
#include "shell/languagetable.h"
#include "shell/programcontext.h"
#include "storage/sqlite.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QPushButton* button(const QString& name, const QString& text) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    return b;
}

QHBoxLayout* buttonRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace

Tformskupina::Tformskupina(TGroupedWindow& window, const TLanguageTable& strings, Mode mode)
    : QDialog(&window), m_window(window), m_strings(strings), m_mode(mode) {
    setObjectName(u"formskupina"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, &window, [&window] { window.activateWindow(); });
    setWindowTitle(strings[mode == Mode::Create ? 10 : 11]);
    skupinavyzva = new QLabel(strings[30]);
    skupinavyzva->setObjectName(u"skupinavyzva"_s);
    skupinavstup = new QLineEdit;
    skupinavstup->setObjectName(u"skupinavstup"_s);
    skupinavyzva->setBuddy(skupinavstup);
    vytvorit = button(u"vytvorit"_s, strings[mode == Mode::Create ? 31 : 33]);
    zrusit = button(u"zrusit"_s, strings[24]);
    vytvorit->setDefault(true);
    if (mode == Mode::Rename)
        skupinavstup->setText(window.module().caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(skupinavyzva);
    layout->addWidget(skupinavstup);
    layout->addLayout(buttonRow(vytvorit, zrusit));
    connect(vytvorit, &QPushButton::clicked, this, &Tformskupina::vytvoritClick);
    connect(zrusit, &QPushButton::clicked, this, &QDialog::reject);
    skupinavstup->setFocus();
}

void Tformskupina::vytvoritClick() {
    TProgramContext& context = m_window.context();
    const QString caption = skupinavstup->text();
    if (caption.isEmpty()) {
        context.dialogs.messageBox(nullptr, m_strings[26], m_strings[32],
                                   IDialogs::Icon::Information);
        return;
    }
    const bool done = Guarded(context.dialogs, [&] {
        if (m_mode == Mode::Create)
            m_window.createGroup(caption);
        else
            m_window.renameGroup(caption);
    });
    if (!done)
        return; // the error is shown; the dialog keeps what was typed
    skupinavstup->clear();
    accept();
}

Tformskupiny::Tformskupiny(TGroupedWindow& window, const TLanguageTable& strings)
    : QDialog(&window), m_window(window) {
    setObjectName(u"formskupiny"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, &window, [&window] { window.activateWindow(); });
    setWindowTitle(strings[206]);
    m_list = new TRecordListModel(this);
    zoznam = new QTreeView;
    zoznam->setObjectName(u"zoznam"_s);
    zoznam->setModel(m_list);
    zoznam->setRootIsDecorated(false);
    zoznam->setUniformRowHeights(true);
    zoznam->header()->hide();
    zoznam->setColumnWidth(0, 300);
    zoznam->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ok = button(u"ok"_s, strings[89]);
    zrusit = button(u"zrusit"_s, strings[24]);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(zoznam);
    layout->addLayout(buttonRow(ok, zrusit));
    connect(ok, &QPushButton::clicked, this, &Tformskupiny::okClick);
    connect(zoznam, &QTreeView::activated, this, &Tformskupiny::okClick);
    connect(zrusit, &QPushButton::clicked, this, &QDialog::reject);

    // The visible groups in catalogue order.
    Guarded(window.context().dialogs, [this] {
        TSQLiteDatabase db(m_window.module().file);
        TSQLiteTable rows = db.Query(u"SELECT * FROM tables WHERE viditelnost=1 ORDER BY id"_s);
        QStringList captions;
        std::vector<qint64> ids;
        if (rows.Rows() > 0) {
            const int id = rows.ColumnIndex(u"id"_s), caption = rows.ColumnIndex(u"captiontable"_s);
            for (; !rows.AtEnd(); rows.Advance()) {
                ids.push_back(rows.CellInt64(id));
                captions.append(rows.CellTextOrEmpty(caption));
            }
        }
        m_list->setItems(std::move(captions), std::move(ids));
    });
    if (m_list->count() > 0)
        zoznam->setCurrentIndex(m_list->index(0));
    zoznam->setFocus();
}

void Tformskupiny::okClick() {
    const QModelIndexList selected = zoznam->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return; // nothing to choose
    const qint64 id = m_list->idAt(selected.first().row());
    if (Guarded(m_window.context().dialogs, [&] { m_window.chooseGroup(id); }))
        accept();
}
