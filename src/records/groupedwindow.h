#pragma once

#include "listwindow.h"
#include "storage/exception.h"

// A list window whose records are divided into groups (notes, diary,
// journal, address book): the list shows the current group, the title and
// the status line name it and count the groups, and the "Skupiny" submenu
// holds the six group commands.
class TGroupedWindow : public TListWindow {
    Q_OBJECT
public:
    TGroupedWindow(TProgramContext& context, const TRecordKind& kind, TModuleState& module,
                   Options options);

    void novaskupinaClick();
    void premenovatskupinuClick();
    void prepnutClick();
    void zobrazitskupinyClick();
    void vymazatskupinuClick();
    void obnovitskupinyClick();

    // What the group dialogs do on their OK. Each throws on a database
    // error, and createGroup on a name that cannot be a group's
    // (EGroupName), and then leaves the module state and the files as they were.
    void createGroup(const QString& caption);
    void renameGroup(const QString& caption);
    void chooseGroup(qint64 catalogueId);

protected:
    // The group's table and caption; kinds with more view state add theirs.
    QStringList viewLines() const override;
    void readViewLines(const QStringList& lines) override;
    // The title names the current group.
    QString title() const override;
    // Records and groups: "Počet záznamov: 12 Počet skupín: 3".
    QString Stavovypozriadok(TSQLiteDatabase& db, int listed) override;
    // The records part of the status line.
    virtual QString recordsPart(int listed, qint64 visible) const;
    // Whether the list query lists the group through the view state's
    // filter (so that with the usual filter the list is the visible records).
    virtual bool listQueryListsTheGroup() const { return true; }
    // The table, filter, order and direction of the view state, as the list
    // and export queries of the notes and the address book take them.
    QString viewQueryTail() const;

    QMenu* m_groupMenu;

private:
    // A view file's group that the catalogue does not list gives way to the
    // default group, so that no name from a file reaches a statement unchecked.
    void checkGroup();

    // The group last found in the catalogue, and the file's state then.
    QString m_checkedTable;
    QByteArray m_checkedStamp;
};

// A group name that cannot be used; the message says why in the interface
// language.
class EGroupName : public Exception {
public:
    using Exception::Exception;
};

// A caption made into a table name: letters with diacritics lose them,
// punctuation and blanks go; at most the first 255 characters are taken.
QString Konvertuj(const QString& caption);
