#include "formzaznam.h"

#include "contactfields.h"
#include "context/programcontext.h"
#include "formadresar.h"
#include "platform/dialogs.h"
#include "storage/sqlite.h"

using namespace Qt::Literals::StringLiterals;

Tformzaznam::Tformzaznam(TFormadresar& window, Mode mode, qint64 id)
    : TRecordEditor(window, mode, id, u"formzaznam"_s, kContactFields) {
    const TAddressBookOptions& options = window.options();
    if (options.values[TAddressBookOptions::EditorOption] == 1)
        for (int field = 0; field < 24; ++field)
            if (options.values[field] == 0)
                form().hideField(QString::fromLatin1(kContactFields[field].name));
    open();
}

void Tformzaznam::fill(const TSQLiteTable& contact) {
    for (const TFormField& field : kContactFields) {
        const QString name = QString::fromLatin1(field.name);
        form().setText(name, contact.CellTextOrEmpty(contact.ColumnIndex(name)));
    }
    // The names joined as they are, without a blank.
    setRecordTitle(form().text(u"meno"_s) + form().text(u"priezvisko"_s));
}

bool Tformzaznam::Uloz() {
    if (form().text(u"meno"_s).isEmpty() && form().text(u"priezvisko"_s).isEmpty()) {
        const TLanguageTable& s = m_context.strings;
        m_context.dialogs.messageBox(nullptr, s[Str::Warning], s[Str::NoContactName],
                                     IDialogs::Icon::Information);
        return false;
    }
    const QStringList values = form().texts();
    TSQLiteDatabase db(m_window.module().file);
    // Every column is written, changed or not, hidden or not.
    Fields fields;
    for (int field = 0; field < 24; ++field)
        fields.append({QString::fromLatin1(kContactFields[field].name), values[field]});
    fields.append({u"viditelnost"_s, 1});
    if (inserting()) {
        storeNew(db, fields);
        return true;
    }
    return storeChange(db, fields);
}
