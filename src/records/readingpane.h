#pragma once

#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>

// The selected record as read-only, selectable text beside its list: a
// heading, lines of a label and a value (a value may be a link, which the
// desktop opens), and the record's text. A kind writes a record into it
// from the one row it reads; links are handed out by linkActivated, never
// followed by the pane itself. It shows the first 200,000 characters of a
// record, which it lays out in a tenth of a second; the editor shows all.
class TReadingPane : public QTextBrowser {
    Q_OBJECT
public:
    explicit TReadingPane(QWidget* parent = nullptr);

    // Empties the pane for the next record.
    void clearRecord();
    void heading(const QString& text);
    // A line of its own, and a label with its value, which may be a link.
    void line(const QString& text);
    void field(const QString& label, const QString& value, const QUrl& link = QUrl());
    // A text as stored: lines ended by CR LF, a lone CR or LF.
    void body(const QString& stored);
    // The first line shown: the record's heading, or nothing.
    QString firstLine() const;

signals:
    void linkActivated(const QUrl& link);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A new paragraph at the end, and the cursor there.
    QTextCursor newBlock();
    // Inserts as much of the text as the pane has room for.
    void insert(QTextCursor& cursor, QStringView text, const QTextCharFormat& format);
    bool m_empty = true;
    qsizetype m_room = 0;
};

// The list and the reading pane: side by side, or the pane below the list
// when the window is narrow. The pane's share of the room is kept whatever
// the orientation.
class TPaneSplitter : public QSplitter {
    Q_OBJECT
public:
    TPaneSplitter(QWidget* list, TReadingPane* pane);

    // The list's share of the room, from 0 to 1.
    double listShare() const { return m_share; }
    void setListShare(double share);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyShare();
    double m_share = 0.4;
};
