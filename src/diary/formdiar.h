#pragma once

#include "records/groupedwindow.h"
#include "records/recordkind.h"

#include <QDate>

class QDateEdit;

// The diary: dated entries with a reminder. Its window lists one day's
// entries (the day of its date picker) or, in the all view, every entry of
// the group, by the moment of their reminders.
extern const TRecordKind kDiaryKind;

class Tformdiar : public TGroupedWindow {
    Q_OBJECT
public:
    enum class View { Day, All };

    explicit Tformdiar(TProgramContext& context);

    View view() const { return m_view; }
    QDate day() const;

    // The day view of the picker's day, and the all view.
    void Aktualizujden();
    void Aktualizujvsetko();
    // Ctrl+D and Ctrl+B.
    void dnesClick();
    void vsetkyClick();
    // The group's entries out to and in from other programs' calendars.
    void exportICalendarClick();
    void importICalendarClick();
    // The user chose a day in the picker: that day's list, the view kept.
    void datetimepickerChange();
    // The refresh of the view the window is in.
    void refresh() override;

protected:
    QString listQuery() const override;
    void itemCaption(const TSQLiteRow& row, QString& caption) const override;
    QString exportQuery() const override;
    void exportRecord(const TSQLiteRow& row, QByteArray& out) const override;
    void openEditor(EditorMode mode, qint64 id) override;
    QString paneColumns() const override;
    void showInPane(const TSQLiteTable& record, TReadingPane& pane) override;
    void beforeActivate() override;
    void afterRefresh() override;
    bool keepsCommandsOnEmptyList() const override { return true; }
    // The all view lists every visible entry of the group: its count is the
    // list's, with no second count.
    bool listQueryListsTheGroup() const override { return m_listing == View::All; }
    QString recordsPart(int listed, qint64 visible) const override;
    QStringList listState() const override;

private:
    void setDay(QDate day);
    // The days of the month the picker's calendar shows that hold entries of
    // the current group, in bold.
    void markDays(int year, int month);

    View m_view = View::Day;
    // The view the list shows while it is built.
    View m_listing = View::Day;
    QDateEdit* datetimepicker;
    // The last day text of the all view, and the stored day it was written for.
    mutable std::pair<QString, QString> m_dayOf;
};
