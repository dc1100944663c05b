#pragma once

#include "records/groupedwindow.h"
#include "records/recordkind.h"
#include "storage/datetimetext.h"

// The journal: one free text per day. Its window lists the days of the
// current group's entries, with the day's long name.
extern const TRecordKind kJournalKind;

class Tformdennik : public TGroupedWindow {
    Q_OBJECT
public:
    explicit Tformdennik(TProgramContext& context);

    // An entry's day as the list shows it ("nedeľa 30 marec 2008"); a day
    // that is not a date shows its stored text behind a warning sign.
    QString dayCaption(const QString& datum) const;
    // The same with the short pattern "DD MMMM YYYY" (the export, the read
    // title); a day that is not a date as it is stored.
    QString dayText(const QString& datum) const;

protected:
    QString listQuery() const override;
    void itemCaption(const TSQLiteRow& row, QString& caption) const override;
    QString exportQuery() const override;
    void exportRecord(const TSQLiteRow& row, QByteArray& out) const override;
    void openEditor(EditorMode mode, qint64 id) override;
    QString paneColumns() const override;
    void showInPane(const TSQLiteTable& record, TReadingPane& pane) override;

private:
    // The day's text in a pattern; a day that is no date as stored.
    QString dayIn(const QString& pattern, const QString& datum, bool mark) const;

    TDateNames m_names;
};
