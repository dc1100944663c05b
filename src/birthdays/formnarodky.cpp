#include "formnarodky.h"

Tformnarodky::Tformnarodky(TProgramContext& context)
    : TRecordWindow(context, {QStringLiteral("narodky"), Qt::Key_F5, false, 115}) {}
