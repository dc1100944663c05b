#include "readingpane.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>

using namespace Qt::Literals::StringLiterals;

namespace {

// Below this width the pane goes under the list.
constexpr int kSideBySideWidth = 720;
// The characters a record shows at most.
constexpr qsizetype kMostCharacters = 200'000;

} // namespace

TReadingPane::TReadingPane(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(u"citaciatabla"_s);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    // Words are never broken: with breaks anywhere, a long line without a
    // blank takes minutes to lay out.
    setWordWrapMode(QTextOption::WordWrap);
    setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    connect(this, &QTextBrowser::anchorClicked, this, &TReadingPane::linkActivated);
    clearRecord();
}

void TReadingPane::clearRecord() {
    document()->clear();
    m_empty = true;
    m_room = kMostCharacters;
}

QTextCursor TReadingPane::newBlock() {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!m_empty)
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_empty = false;
    return cursor;
}

void TReadingPane::insert(QTextCursor& cursor, QStringView text, const QTextCharFormat& format) {
    if (m_room <= 0)
        return;
    if (text.size() <= m_room) {
        cursor.insertText(text.toString(), format);
        m_room -= text.size();
        return;
    }
    cursor.insertText(text.left(m_room).toString() + u'\u2026', format);
    m_room = 0;
}

void TReadingPane::heading(const QString& text) {
    QTextCursor cursor = newBlock();
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(font().pointSizeF() * 1.25);
    QTextBlockFormat block;
    block.setBottomMargin(fontMetrics().height() / 2.0);
    cursor.setBlockFormat(block);
    insert(cursor, text, format);
}

void TReadingPane::line(const QString& text) {
    field(QString(), text);
}

void TReadingPane::field(const QString& label, const QString& value, const QUrl& link) {
    QTextCursor cursor = newBlock();
    if (!label.isEmpty()) {
        QTextCharFormat labelFormat;
        labelFormat.setForeground(palette().placeholderText());
        insert(cursor, QString(label + u": "_s), labelFormat);
    }
    QTextCharFormat valueFormat;
    if (!link.isEmpty()) {
        valueFormat.setAnchor(true);
        valueFormat.setAnchorHref(link.toString(QUrl::FullyEncoded));
        valueFormat.setForeground(palette().link());
        valueFormat.setFontUnderline(true);
    }
    insert(cursor, value, valueFormat);
}

void TReadingPane::body(const QString& stored) {
    // Half a line between what was shown and the text.
    if (!m_empty) {
        QTextCursor last(document());
        last.movePosition(QTextCursor::End);
        QTextBlockFormat spaced;
        spaced.setBottomMargin(fontMetrics().height() / 2.0);
        last.mergeBlockFormat(spaced);
    }
    QTextCursor cursor = newBlock();
    // A line break of any of the three kinds is a new paragraph, as the
    // editor shows it.
    QString text = stored;
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    insert(cursor, text, QTextCharFormat());
}

QString TReadingPane::firstLine() const {
    return document()->firstBlock().text();
}

void TReadingPane::contextMenuEvent(QContextMenuEvent* event) {
    // Copy, copy the link and select all, in the interface's language.
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->setObjectName(u"tablamenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

TPaneSplitter::TPaneSplitter(QWidget* list, TReadingPane* pane) {
    setObjectName(u"rozdelenie"_s);
    setChildrenCollapsible(false);
    addWidget(list);
    addWidget(pane);
    setStretchFactor(0, 1);
    setStretchFactor(1, 1);
    connect(this, &QSplitter::splitterMoved, this, [this] {
        const QList<int> room = sizes();
        if (room.value(0) + room.value(1) > 0 && widget(1)->isVisible())
            m_share = double(room[0]) / (room[0] + room[1]);
    });
}

void TPaneSplitter::setListShare(double share) {
    m_share = std::clamp(share, 0.1, 0.9);
    applyShare();
}

void TPaneSplitter::applyShare() {
    const int room = orientation() == Qt::Horizontal ? width() : height();
    const int list = int(room * m_share);
    setSizes({list, room - list});
}

void TPaneSplitter::resizeEvent(QResizeEvent* event) {
    const Qt::Orientation wanted = width() >= kSideBySideWidth ? Qt::Horizontal : Qt::Vertical;
    if (wanted != orientation())
        setOrientation(wanted);
    QSplitter::resizeEvent(event);
    applyShare();
}
