#pragma once

#include "records/groupedwindow.h"

class QAction;

// The notes window: subjects of the current group's notes, sorted by order
// of addition or by subject.
class TFormpoznamky : public TGroupedWindow {
    Q_OBJECT
public:
    explicit TFormpoznamky(TProgramContext& context);

    void podlaidClick();
    void podlamenaClick();
    void opacneClick();

protected:
    QString listQuery() const override;
    QString itemCaption(const TSQLiteTable& row) const override;
    void exportRecord(const TSQLiteTable& row, QStringList& lines) const override;
    QStringList viewLines() const override;
    void readViewLines(const QStringList& lines) override;
    void openEditor(EditorMode mode, qint64 id) override;
    void beforeActivate() override;

private:
    QAction* podlaid;
    QAction* podlamena;
    QAction* opacne;
};
