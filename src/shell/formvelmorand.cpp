#include "formvelmorand.h"

#include "guard.h"
#include "programcontext.h"

using namespace Qt::Literals::StringLiterals;

Tformvelmorand::Tformvelmorand(TProgramContext& context) : m_context(context) {
    setObjectName(u"formvelmorand"_s);
    setWindowTitle(u"Velmorand 2.1"_s);
}

bool Tformvelmorand::FormCreate() {
    return Guarded(m_context.dialogs, [this] {
        m_context.strings.Nahrajretazce(TLanguageTable::Slovak);
        Vytvorsubory(m_context.modules, m_context.defaultCaptions());
    });
}
