#pragma once

#include "records/groupedwindow.h"
#include "records/recordkind.h"

class QAction;

// The notes: their window lists the subjects of the current group's notes,
// sorted by order of addition or by subject.
extern const TRecordKind kNotesKind;

class TFormpoznamky : public TGroupedWindow {
    Q_OBJECT
public:
    explicit TFormpoznamky(TProgramContext& context);

    void podlaidClick();
    void podlamenaClick();
    void opacneClick();
    // When the note was saved and last changed, as a line of text.
    QString savedAndChanged(const QString& saved, const QString& changed) const;

protected:
    QString listQuery() const override;
    void itemCaption(const TSQLiteRow& row, QString& caption) const override;
    QString exportQuery() const override;
    void exportRecord(const TSQLiteRow& row, QByteArray& out) const override;
    QStringList viewLines() const override;
    void readViewLines(const QStringList& lines) override;
    void openEditor(EditorMode mode, qint64 id) override;
    QString paneColumns() const override;
    void showInPane(const TSQLiteTable& record, TReadingPane& pane) override;
    void beforeActivate() override;
    bool f12ClosesAll() const override { return true; }

private:
    QAction* podlaid;
    QAction* podlamena;
    QAction* opacne;
    // The welcome box is waiting for its answer (an activation meanwhile,
    // as when the program is hidden and shown again, asks no second time).
    bool m_welcoming = false;
};
