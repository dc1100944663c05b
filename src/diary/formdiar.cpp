#include "formdiar.h"

constexpr TRecordKind kDiaryKind{u"diar", Qt::Key_F2, &MakeRecordWindow<Tformdiar>};

Tformdiar::Tformdiar(TProgramContext& context)
    : TRecordWindow(context, kDiaryKind, Str::DiaryMenu) {}
