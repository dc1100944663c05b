#include "storable.h"

#include "platform/dialogs.h"
#include "programcontext.h"
#include "storage/text1250.h"

using namespace Qt::Literals::StringLiterals;

bool MayStore(TProgramContext& context, QWidget* owner, const QStringList& texts) {
    constexpr qsizetype kNamed = 30;
    QStringList lost;
    for (const QString& text : texts)
        lost += Cp1250::unstorable(text);
    lost.removeDuplicates();
    if (lost.isEmpty())
        return true;
    // A lone half of a character has no picture of its own: its number.
    for (QString& character : lost)
        if (character.size() == 1 && character[0].isSurrogate())
            character = u"U+%1"_s.arg(character[0].unicode(), 4, 16, QChar(u'0')).toUpper();
    QString named = lost.mid(0, kNamed).join(u' ');
    if (lost.size() > kNamed)
        named += u" \u2026"_s;
    const TLanguageTable& s = context.strings;
    return context.dialogs.messageBox(owner, s[Str::Warning], s[Str::LostCharacters].arg(named),
                                      IDialogs::Icon::Question,
                                      IDialogs::Buttons::NoYes) == IDialogs::Answer::Yes;
}
