#include "formnarodky.h"

constexpr TRecordKind kBirthdaysKind{u"narodky", Qt::Key_F5, &MakeRecordWindow<Tformnarodky>};

Tformnarodky::Tformnarodky(TProgramContext& context)
    : TRecordWindow(context, kBirthdaysKind, Str::BirthdaysMenu) {}
