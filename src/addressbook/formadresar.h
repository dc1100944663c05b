#pragma once

#include "contactimport.h"
#include "records/groupedwindow.h"
#include "records/recordkind.h"
#include "storage/datafiles.h"

#include <array>

class QAction;

// The address book: its window lists the current group's contacts by the
// chosen name order, sorted by any of the 24 fields, and sends mail to a
// contact's first address.
extern const TRecordKind kAddressBookKind;

class TFormadresar : public TGroupedWindow {
    Q_OBJECT
public:
    explicit TFormadresar(TProgramContext& context);

    TAddressBookOptions& options();
    const TAddressBookOptions& options() const;

    void FormActivate() override;
    void Aplikujjazyk() override;
    // Sort key k: 0 by order of insertion, k by the field k - 1.
    void sortClick(int key);
    void opacneClick();
    void poslatmailClick();
    void moznostiadrmenuClick();
    // Import with a separator: the file, its first line, the configuration.
    void Inportuj(char separator);
    // Imports the chosen file as the import state says.
    void Doinportuj();
    TImportState& importState() { return m_import; }
    // Import of a vCard file or a table of another program: the file, the
    // table's columns, the import.
    void importFileClick();
    void exportVCardClick();
    void exportCsvClick();

protected:
    QList<QAction*> contextActions() const override;
    QString listQuery() const override;
    QString exportQuery() const override;
    QStringList exportHeader() const override;
    void exportRecord(const TSQLiteRow& row, QByteArray& out) const override;
    void itemCaption(const TSQLiteRow& row, QString& caption) const override;
    QStringList viewLines() const override;
    void readViewLines(const QStringList& lines) override;
    void openEditor(EditorMode mode, qint64 id) override;
    QString paneColumns() const override;
    void showInPane(const TSQLiteTable& record, TReadingPane& pane) override;
    void afterRefresh() override;
    QString recordsPart(int listed, qint64 visible) const override;

private:
    // The export query of the contacts chosen (chosenIds).
    QString chosenQuery() const;
    // Runs an import of another program's file, unless one runs.
    void importFrom(TSourceMaker source, bool addBirthdays);

    // The file an import command reads: its kind, then tables, then all.
    QString importFile(Str title, Str filter);
    void setSortMarks();
    // The name columns in the order the captions show them.
    bool surnameFirst() const;
    // The field a caption ends with, -1 for none.
    int shownField() const;

    QAction* poslatmail;
    QAction* opacne;
    std::array<QAction*, 25> m_sorts;
    TImportState m_import;
};
