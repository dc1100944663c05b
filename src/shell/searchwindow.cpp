#include "searchwindow.h"

#include "context/guard.h"
#include "context/programcontext.h"
#include "context/search.h"
#include "context/windowhost.h"
#include "context/windowsize.h"
#include "platform/trace.h"
#include "recordkinds.h"
#include "records/recordkind.h"
#include "storage/datetimetext.h"
#include "storage/sqlite.h"

#include <QAbstractTextDocumentLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSet>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// The most records one search lists.
constexpr int kMostResults = 500;

enum Column { KindColumn, GroupColumn, DateColumn, TitleColumn, MatchColumn };
enum Role { KindRole = Qt::UserRole, TableRole, IdRole };

// Draws a cell's text as HTML: the word found in bold.
class THtmlDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        QTextDocument document;
        document.setDefaultFont(item.font);
        document.setDocumentMargin(1);
        document.setHtml(item.text);
        item.text.clear();
        item.widget->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        painter->save();
        painter->translate(item.rect.topLeft());
        painter->setClipRect(item.rect.translated(-item.rect.topLeft()));
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette = item.palette;
        if (item.state & QStyle::State_Selected)
            context.palette.setColor(QPalette::Text, item.palette.color(QPalette::HighlightedText));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }
};

} // namespace

TSearchWindow::TSearchWindow(TProgramContext& context, QWidget* owner)
    : QWidget(owner, Qt::Window), m_context(context) {
    setObjectName(u"hladatvsade"_s);
    m_field = new QLineEdit;
    m_field->setObjectName(u"hladatvsadevstup"_s);
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_results = new QTreeWidget;
    m_results->setObjectName(u"vysledky"_s);
    m_results->setRootIsDecorated(false);
    m_results->setUniformRowHeights(true);
    m_results->setColumnCount(5);
    m_results->setItemDelegateForColumn(MatchColumn, new THtmlDelegate(m_results));
    m_results->header()->setStretchLastSection(true);
    m_status = new QLabel;
    m_status->setObjectName(u"stav"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_status);
    ConnectGuarded(m_context.dialogs, m_field, &QLineEdit::textChanged, this, [this] { search(); });
    ConnectGuarded(m_context.dialogs, m_results, &QTreeWidget::itemActivated, this,
                   [this] { openSelected(); });
    if (m_context.search)
        ConnectGuarded(m_context.dialogs, m_context.search, &TSearch::updated, this, [this] {
            if (isVisible())
                search();
        });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    Aplikujjazyk();
}

QSize TSearchWindow::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 130, fontMetrics().lineSpacing() * 32};
}

void TSearchWindow::Aplikujjazyk() {
    const TLanguageTable& s = m_context.strings;
    setWindowTitle(s[Str::SearchEverywhere]);
    m_field->setPlaceholderText(s[Str::FindCommand]);
    m_results->setHeaderLabels({s[Str::ColumnKind], s[Str::ColumnGroup], s[Str::ColumnDate],
                                s[Str::ColumnTitle], s[Str::ColumnMatch]});
    if (isVisible())
        search();
}

void TSearchWindow::showSearch() {
    // What other programs changed meanwhile is looked at again.
    if (m_context.search)
        m_context.search->refresh();
    if (isHidden())
        ShowAtKeptSize(this, m_context.own);
    raise();
    activateWindow();
    m_field->setFocus();
    m_field->selectAll();
}

bool TSearchWindow::eventFilter(QObject* watched, QEvent* event) {
    // Down and Enter go from the field into the results.
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) &&
            m_results->topLevelItemCount() > 0) {
            m_results->setFocus();
            if (!m_results->currentItem())
                m_results->setCurrentItem(m_results->topLevelItem(0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSearchWindow::search() {
    m_results->clear();
    const TLanguageTable& s = m_context.strings;
    const QString text = m_field->text();
    if (SearchExpression(text).isEmpty()) {
        m_status->clear();
        return;
    }
    if (!m_context.search || !m_context.search->available()) {
        m_status->setText(s[Str::SearchUnavailable]);
        return;
    }
    const QList<TSearchHit> hits = m_context.search->findAll(text, kMostResults);
    // Each kind's file opened once; each record's row and group caption read.
    QList<QTreeWidgetItem*> items;
    for (const TRecordKind* kind : RecordKinds()) {
        const QString name = QString::fromUtf16(kind->name);
        const TModuleState& module = kind->module(m_context.modules);
        std::optional<TSQLiteDatabase> db;
        QHash<QString, QString> captions;
        QSet<QString> binned;
        for (const TSearchHit& hit : hits) {
            if (hit.kind != name)
                continue;
            if (!db)
                db.emplace(module.file);
            if (module.grouped && !captions.contains(hit.table) && !binned.contains(hit.table)) {
                const TSQLiteTable row =
                    db->Query(u"SELECT captiontable, viditelnost FROM tables WHERE nametable=?1"_s,
                              {hit.table});
                if (row.Rows() > 0 && row.CellInt64(1) != 1)
                    binned.insert(hit.table);
                else
                    captions.insert(hit.table, row.Rows() > 0 ? row.CellTextOrEmpty(0) : hit.table);
            }
            // Binned or gone since the index looked: not listed.
            if (binned.contains(hit.table))
                continue;
            const TSQLiteTable row =
                db->Query(u"SELECT "_s + QString::fromUtf16(kind->searchDate) + u", "_s +
                              QString::fromUtf16(kind->searchTitle) + u", "_s +
                              QString::fromUtf16(kind->searchText) + u" FROM "_s +
                              SqlName(hit.table) + u" WHERE id=?1 AND viditelnost=1"_s,
                          {hit.id});
            if (row.Rows() == 0)
                continue;
            auto* item = new QTreeWidgetItem;
            item->setText(KindColumn, s[kind->title]);
            item->setText(GroupColumn, captions.value(hit.table));
            item->setText(DateColumn, row.CellTextOrEmpty(0).left(16));
            item->setText(TitleColumn, row.CellTextOrEmpty(1).simplified());
            item->setText(MatchColumn, SearchSnippet(row.CellTextOrEmpty(1) + u" \u2013 "_s +
                                                         row.CellTextOrEmpty(2),
                                                     text));
            item->setData(KindColumn, KindRole, name);
            item->setData(KindColumn, TableRole, hit.table);
            item->setData(KindColumn, IdRole, hit.id);
            items.append(item);
        }
    }
    m_results->addTopLevelItems(items);
    for (int column = KindColumn; column < MatchColumn; ++column)
        m_results->resizeColumnToContents(column);
    m_status->setText(s[Str::SearchFound].arg(items.size()));
    Trace(u"found everywhere: %1"_s.arg(items.size()));
}

void TSearchWindow::openSelected() {
    const QTreeWidgetItem* item = m_results->currentItem();
    if (!item)
        return;
    m_context.host->OpenRecord(item->data(KindColumn, KindRole).toString(),
                               item->data(KindColumn, TableRole).toString(),
                               item->data(KindColumn, IdRole).toLongLong());
}
