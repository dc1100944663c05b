#include "binandwipe.h"

#include "context/errortexts.h"
#include "context/programcontext.h"
#include "context/search.h"
#include "context/windowhost.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "recordkinds.h"
#include "records/recordkind.h"
#include "storage/datafiles.h"
#include "storage/sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// Every entry of the log is a line break followed by the entry.
const QString kBreak = u"\r\n"_s;

// A data file as both operations visit it.
struct TFileStep {
    TModuleState& module;
    Str binHeading;
    Str wipeHeading;
    // The default group's caption; empty for a kind without groups.
    QString caption;
};

std::vector<TFileStep> fileSteps(TProgramContext& context) {
    std::vector<TFileStep> steps;
    for (const TRecordKind* kind : RecordKinds())
        steps.push_back({kind->module(context.modules), kind->binHeading, kind->wipeHeading,
                         DefaultCaption(*kind, context)});
    return steps;
}

using FileWork = std::function<void(TSQLiteDatabase&, const TFileStep&, QString& log)>;
using FileDone = std::function<void(const TFileStep&)>;

// Runs the work on each file, each in one transaction; a file's entries join
// the log once it is stored. On a failure the box says what stopped it and
// which file was left unchanged, and false is returned.
bool eachFile(TProgramContext& context, QWidget* owner, QString& log, const FileWork& work,
              const FileDone& done) {
    const TLanguageTable& s = context.strings;
    for (const TFileStep& step : fileSteps(context)) {
        QString entries;
        try {
            TSQLiteDatabase db(step.module.file);
            TSQLiteTransaction transaction(db);
            work(db, step, entries);
            transaction.Commit();
        } catch (const Exception& e) {
            std::fprintf(stderr, "velmorand: %s\n", qPrintable(e.message()));
            log += kBreak + ErrorText(e, s) + kBreak +
                   s[Str::FileLeftUnchanged].arg(QDir::toNativeSeparators(step.module.file));
            context.dialogs.messageBox(owner, s[Str::OperationStopped], log,
                                       IDialogs::Icon::Warning);
            return false;
        }
        log += entries;
        done(step);
    }
    return true;
}

// The groups of a catalogue in its order, each with its state: 1 shown,
// 0 in the bin, -1 anything else (3 after an emptying of the bin).
std::vector<std::pair<QString, int>> catalogue(TSQLiteDatabase& db) {
    std::vector<std::pair<QString, int>> groups;
    for (TSQLiteTable rows = db.Query(u"SELECT nametable, CASE WHEN viditelnost=1 THEN 1 "
                                      u"WHEN viditelnost=0 THEN 0 ELSE -1 END FROM tables "
                                      u"ORDER BY id"_s);
         !rows.AtEnd(); rows.Advance())
        groups.emplace_back(rows.CellTextOrEmpty(0), int(rows.CellInt64(1)));
    return groups;
}

void emptyBinOf(TSQLiteDatabase& db, const TFileStep& step, const TLanguageTable& s, QString& log) {
    if (!step.module.grouped) {
        log += kBreak + s[step.binHeading];
        db.Execute(u"DELETE FROM "_s + SqlName(step.module.defaultTable) +
                   u" WHERE viditelnost=0"_s);
        return;
    }
    const auto groups = catalogue(db);
    if (groups.empty())
        return;
    log += kBreak + s[step.binHeading];
    QSet<QString> shown;
    for (const auto& [name, state] : groups)
        if (state == 1)
            shown.insert(name.toLower());
    for (const auto& [name, state] : groups) {
        // A binned row naming the table of a shown group does not take the
        // shown group's table with it.
        if (state == -1 || (state == 0 && shown.contains(name.toLower())))
            continue;
        if (!db.HasTable(name)) {
            log += kBreak + s[Str::MissingTable].arg(name);
            continue;
        }
        if (state == 1) {
            log += kBreak + s[Str::DeletingFromTable] + u' ' + name;
            db.Execute(u"DELETE FROM "_s + SqlName(name) + u" WHERE viditelnost=0"_s);
        } else {
            log += kBreak + s[Str::DroppingTable] + u' ' + name;
            db.Execute(u"DROP TABLE "_s + SqlName(name));
        }
    }
    db.Execute(u"UPDATE tables SET viditelnost=3 WHERE viditelnost=0;"_s);
}

void wipe(TSQLiteDatabase& db, const TFileStep& step, const TLanguageTable& s, QString& log) {
    const QString& table = step.module.defaultTable;
    if (!step.module.grouped) {
        if (db.HasTable(table)) {
            db.Execute(u"DROP TABLE "_s + SqlName(table));
            log += kBreak + s[step.wipeHeading];
        }
        db.Execute(GroupTableDefinition(table, step.module.columns));
        return;
    }
    const auto groups = catalogue(db);
    if (!groups.empty())
        log += kBreak + s[step.wipeHeading];
    QStringList names;
    for (const auto& group : groups)
        names.append(group.first);
    // The default group's table is made afresh even where no row names it.
    names.append(table);
    for (const QString& name : names) {
        // Groups emptied from the bin have no table; they pass silently.
        if (!db.HasTable(name))
            continue;
        db.Execute(u"DROP TABLE "_s + SqlName(name));
        log += kBreak + s[Str::TableDropped] + u' ' + name;
    }
    db.Execute(u"DROP TABLE tables"_s);
    // The file afresh in the same transaction: never a file without its
    // catalogue, even when a later file stops the wipe.
    CreateCatalogue(db, step.module, step.caption);
}

// Copies the five files into a new folder data-<date>-<time> beside data,
// then keeps the newest three such folders: the one just made, always, and
// the two others made last. Returns the folder's path. Throws EFileError
// when the copy cannot be made; nothing is left of it.
QString copyBeforeWipe(TProgramContext& context) {
    static const QRegularExpression kCopy(u"^data-\\d{4}-\\d\\d-\\d\\d-\\d{6}(-\\d+)?$"_s);
    static const QRegularExpression kPart(u"^data-\\d{4}-\\d\\d-\\d\\d-\\d{6}(-\\d+)?\\.part$"_s);
    const auto copies = [](const QRegularExpression& pattern) {
        QFileInfoList folders =
            QDir().entryInfoList({u"data-*"_s}, QDir::Dirs | QDir::NoDotAndDotDot);
        folders.removeIf(
            [&](const QFileInfo& f) { return !pattern.match(f.fileName()).hasMatch(); });
        return folders;
    };
    // A copy is made under a name of its own and named only once complete:
    // one cut short (the program killed meanwhile) never counts as a copy,
    // and goes when the next one is made.
    for (const QFileInfo& part : copies(kPart))
        QDir(part.filePath()).removeRecursively();
    const QString stamp = u"data-"_s + context.clock.now().toString(u"yyyy-MM-dd-HHmmss"_s);
    QString folder = stamp;
    for (int n = 2; QFileInfo::exists(folder) || QFileInfo::exists(folder + u".part"_s); ++n)
        folder = stamp + u'-' + QString::number(n);
    const QString part = folder + u".part"_s;
    const auto failed = [&](EFault fault, const QString& file) {
        QDir(part).removeRecursively();
        return EFileError(u"Cannot copy the data files into \"%1\""_s.arg(folder), fault, file);
    };
    if (!QDir().mkdir(part))
        throw failed(EFault::CannotWrite, folder);
    for (const TFileStep& step : fileSteps(context)) {
        const QString& file = step.module.file;
        if (!QFileInfo::exists(file))
            continue;
        const QString copy = part + u'/' + QFileInfo(file).fileName();
        try {
            // A consistent copy whatever else has the file open.
            TSQLiteDatabase(file).Execute(u"VACUUM INTO ?1"_s, {copy});
        } catch (const ESQLiteException& e) {
            // A file that is no database is copied as it is. Any other file
            // is read through SQLite only: a descriptor of the program's own,
            // closed, would drop the locks its own connections hold.
            if (e.fault() != EFault::Damaged)
                throw failed(e.fault(), file);
            QFile::remove(copy);
            if (!QFile::copy(file, copy))
                throw failed(EFault::CannotWrite, copy);
        }
    }
    if (!QDir().rename(part, folder))
        throw failed(EFault::CannotWrite, folder);
    // The others by the time they were made, newest first.
    QFileInfoList others = copies(kCopy);
    others.removeIf([&](const QFileInfo& f) { return f.fileName() == folder; });
    std::sort(others.begin(), others.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime ma = a.lastModified(), mb = b.lastModified();
        return ma != mb ? ma > mb : a.fileName() > b.fileName();
    });
    for (qsizetype i = 2; i < others.size(); ++i)
        QDir(others[i].filePath()).removeRecursively();
    return QDir(folder).absolutePath();
}

// The question both ask first; only Yes goes on. What they do cannot be
// undone in the program: No is the default, so Enter by habit loses nothing.
bool confirmed(TProgramContext& context, Str text) {
    const TLanguageTable& s = context.strings;
    return context.dialogs.messageBox(nullptr, s[Str::ConfirmDeleteRecords], s[text],
                                      IDialogs::Icon::Question,
                                      IDialogs::Buttons::NoYes) == IDialogs::Answer::Yes;
}

// The end of both: the pending reminder looked up again (its entry may be
// gone), the search index told, and the log once every file is done.
void finish(TProgramContext& context, QWidget* owner, bool done, const QString& log) {
    if (context.reminders)
        context.reminders->Najdizaznam();
    if (context.search)
        context.search->refresh();
    if (done)
        context.dialogs.messageBox(owner, context.strings[Str::OperationDone], log,
                                   IDialogs::Icon::Information);
}

} // namespace

void kosClick(TProgramContext& context, QWidget* owner) {
    if (!confirmed(context, Str::ReallyEmptyBin))
        return;
    const TLanguageTable& s = context.strings;
    QString log;
    const bool done = eachFile(
        context, owner, log,
        [&s](TSQLiteDatabase& db, const TFileStep& step, QString& entries) {
            emptyBinOf(db, step, s, entries);
        },
        [](const TFileStep& step) {
            // The space of what went is given back; a file that cannot be
            // compacted now keeps it, and nothing else changes.
            try {
                TSQLiteDatabase(step.module.file).Execute(u"VACUUM"_s);
            } catch (const ESQLiteException& e) {
                std::fprintf(stderr, "velmorand: %s\n", qPrintable(e.message()));
            }
        });
    finish(context, owner, done, log);
}

void vymazatClick(TProgramContext& context, QWidget* owner) {
    if (!confirmed(context, Str::ReallyWipe))
        return;
    const TLanguageTable& s = context.strings;
    QString log =
        kBreak + s[Str::CopyBeforeWipe].arg(QDir::toNativeSeparators(copyBeforeWipe(context)));
    const bool done = eachFile(
        context, owner, log,
        [&s](TSQLiteDatabase& db, const TFileStep& step, QString& entries) {
            wipe(db, step, s, entries);
        },
        [&context](const TFileStep& step) {
            if (!step.module.grouped)
                return;
            // The window opens on the default group from now on.
            const auto toDefault = [&step](TModuleState& module) {
                module.table = module.defaultTable;
                module.caption = step.caption;
            };
            toDefault(step.module);
            if (context.host)
                context.host->RewriteView(step.module, toDefault);
        });
    if (done)
        log += kBreak + s[Str::NewTablesCreated];
    finish(context, owner, done, log);
}
