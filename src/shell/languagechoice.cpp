#include "languagechoice.h"

#include "context/guard.h"
#include "context/programcontext.h"
#include "context/windowhost.h"
#include "platform/dialogs.h"
#include "platform/qttranslations.h"
#include "recordkinds.h"
#include "records/recordkind.h"
#include "storage/linefile.h"
#include "storage/sqlite.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

QStringList LanguageFiles() {
    QStringList names;
    for (const QString& file :
         QDir(u"languages"_s).entryList({u"*.lng"_s}, QDir::Files | QDir::Readable, QDir::Name))
        names.append(file.chopped(4));
    return names;
}

void jazykyClick(TProgramContext& context, const QString& languageName) {
    context.strings.Nahrajretazce(languageName);
    context.settings.language = languageName;
    UseQtTranslations(languageName);
    UseInterfaceLocale(languageName);
    const TLanguageTable& s = context.strings;
    for (const TRecordKind* kind : RecordKinds()) {
        if (!kind->caption)
            continue;
        // Named, not bound: a lambda below takes it.
        TModuleState* const module = &kind->module(context.modules);
        const QString caption = s[*kind->caption];
        // A file that cannot take the new caption keeps the old one; the
        // others go on.
        Guarded(context.dialogs, [&] {
            TSQLiteDatabase(module->file)
                .Execute(u"UPDATE tables SET captiontable=?1 WHERE nametable=?2"_s,
                         {caption, module->defaultTable});
        });
        const auto rename = [&caption](TModuleState& state) {
            if (state.table == state.defaultTable)
                state.caption = caption;
        };
        rename(*module);
        if (context.host)
            Guarded(context.dialogs, [&] { context.host->RewriteView(*module, rename); });
    }
    if (context.host)
        context.host->Aplikujjazyk();
    if (context.reminders)
        context.reminders->Najdizaznam();
    context.dialogs.messageBox(nullptr, s[Str::LanguageDone], s[Str::LanguageChanged],
                               IDialogs::Icon::Information);
}

void generovatClick(TProgramContext& context, QWidget* owner) {
    const TLanguageTable& s = context.strings;
    QString file = context.dialogs.saveFileName(owner, s[Str::SaveLanguageStrings],
                                                s[Str::TextFiles], QString());
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += u".txt"_s;
    LineFile::write(file, s.strings());
}
