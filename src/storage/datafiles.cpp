#include "datafiles.h"

#include "sqlite.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

QString GroupTableDefinition(const QString& table, const QString& columns) {
    return u"CREATE TABLE "_s + table + columns;
}

qint64 CatalogueId(TSQLiteDatabase& db, const QString& table) {
    TSQLiteTable row = db.Query(
        u"SELECT id FROM tables WHERE nametable=?1 ORDER BY viditelnost=3, id LIMIT 1"_s, {table});
    return row.Rows() > 0 ? row.CellInt64(0) : 0;
}

void EnsureDiaryIndexes(TSQLiteDatabase& db) {
    // Only the groups whose index is missing; as a rule there are none.
    TSQLiteTable missing = db.Query(
        u"SELECT nametable FROM tables WHERE viditelnost<>3 AND nametable IN "
        u"(SELECT name FROM sqlite_master WHERE type='table') AND (nametable || '_alarm') NOT IN "
        u"(SELECT name FROM sqlite_master WHERE type='index')"_s);
    if (missing.Rows() == 0)
        return;
    TSQLiteTransaction transaction(db);
    for (; !missing.AtEnd(); missing.Advance()) {
        const QString table = missing.CellTextOrEmpty(0);
        db.Execute(u"CREATE INDEX IF NOT EXISTS "_s + SqlName(table + u"_den"_s) + u" ON "_s +
                   SqlName(table) + u"(datum, viditelnost, avizo)"_s);
        db.Execute(u"CREATE INDEX IF NOT EXISTS "_s + SqlName(table + u"_alarm"_s) + u" ON "_s +
                   SqlName(table) + u"(alarm, viditelnost, avizo)"_s);
    }
    transaction.Commit();
}

void CreateCatalogue(TSQLiteDatabase& db, const TModuleState& module, const QString& caption) {
    db.Execute(QString::fromUtf16(Schema::kCatalogue));
    db.Execute(GroupTableDefinition(module.defaultTable, module.columns));
    db.Execute(u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES(?1,?2,1)"_s,
               {module.defaultTable, caption});
}

void CreateDataFile(const TModuleState& module, const QString& caption) {
    TSQLiteDatabase db(module.file);
    if (!module.grouped) {
        if (!db.HasTable(module.defaultTable))
            db.Execute(GroupTableDefinition(module.defaultTable, module.columns));
        return;
    }
    if (db.HasTable(u"tables"_s))
        return;
    TSQLiteTransaction transaction(db);
    CreateCatalogue(db, module, caption);
    transaction.Commit();
}

QList<TDataFileFailure> Vytvorsubory(std::span<const TDataFileRequest> files) {
    QDir().mkpath(u"data"_s);
    QList<TDataFileFailure> failures;
    for (const TDataFileRequest& request : files) {
        TModuleState& module = *request.module;
        module.table = module.defaultTable;
        if (module.grouped)
            module.caption = request.caption;
        try {
            CreateDataFile(module, request.caption);
        } catch (const ESQLiteException& e) {
            failures.append({module.file, e.message()});
        }
    }
    return failures;
}
