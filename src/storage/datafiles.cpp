#include "datafiles.h"

#include "sqlite.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

QString GroupTableDefinition(const QString& table, const QString& columns) {
    return u"CREATE TABLE "_s + table + columns;
}

qint64 CatalogueId(TSQLiteDatabase& db, const QString& table) {
    TSQLiteTable row = db.Query(u"SELECT id FROM tables WHERE nametable="_s + SqlText(table) +
                                u" ORDER BY viditelnost=3, id LIMIT 1"_s);
    return row.Rows() > 0 ? row.CellInt64(0) : 0;
}

namespace {

void createGroupedFile(TModuleState& module, const QString& defaultTable, const QString& caption) {
    module.table = defaultTable;
    module.caption = caption;
    TSQLiteDatabase db(module.file);
    if (db.HasTable(u"tables"_s))
        return;
    TSQLiteTransaction transaction(db);
    db.Execute(QString::fromUtf16(Schema::kCatalogue));
    db.Execute(GroupTableDefinition(defaultTable, module.columns));
    db.Execute(u"INSERT INTO tables(nametable,captiontable,viditelnost) VALUES("_s +
               SqlText(defaultTable) + u","_s + SqlText(caption) + u",1);"_s);
    transaction.Commit();
}

} // namespace

void Vytvorsubory(DataModules& modules, const DefaultCaptions& captions) {
    QDir().mkpath(u"data"_s);
    createGroupedFile(modules.adresar, u"mojekontakty"_s, captions.adresar);
    createGroupedFile(modules.dennik, u"mojdennik"_s, captions.dennik);
    createGroupedFile(modules.diar, u"mojdiar"_s, captions.diar);
    createGroupedFile(modules.poznamky, u"mojepoznamky"_s, captions.poznamky);

    TSQLiteDatabase db(modules.narodky.file);
    if (!db.HasTable(u"narodky"_s))
        db.Execute(QString::fromUtf16(Schema::kBirthdays));
}
