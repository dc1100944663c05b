#pragma once

#include "records/listwindow.h"
#include "records/recordkind.h"
#include "storage/datetimetext.h"

#include <QDate>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The birthdays: people with their dates of birth. The window lists them
// with their ages and holds its own form beside the list, whose one button
// adds a person, changes the one loaded, or only empties the form.
extern const TRecordKind kBirthdaysKind;

class Tformnarodky : public TListWindow {
    Q_OBJECT
public:
    enum class FormMode { Add, Change, Look };

    explicit Tformnarodky(TProgramContext& context);

    FormMode formMode() const { return m_formMode; }
    void okClick();
    void podlamenaClick();
    void podlaporadiaClick();
    void podlanarodeniaClick();
    void exportVCardClick();
    void opacneClick();

protected:
    QString listQuery() const override;
    void itemCaption(const TSQLiteRow& row, QString& caption) const override;
    QStringList viewLines() const override;
    void readViewLines(const QStringList& lines) override;
    // Change and look load the person into the form.
    void openEditor(EditorMode mode, qint64 id) override;
    void beforeRefresh() override;
    void afterRefresh() override;
    void beforeActivate() override;
    QStringList listState() const override;

private:
    void sortBy(const QString& order);
    void setFormMode(FormMode mode);
    QDate today() const;

    // The day the ages of the list are counted to, fixed for each refresh.
    QDate m_today;
    TDayParts m_todayParts;
    FormMode m_formMode = FormMode::Add;
    qint64 m_loaded = 0; // the person a change stores to
    QLabel* menovyzva;
    QLineEdit* menovstup;
    QDateEdit* DateTimePicker;
    QPushButton* ok;
    QAction* opacne;
    TDateNames m_names;
};
