#include "formadresar.h"

TFormadresar::TFormadresar(TProgramContext& context)
    : TRecordWindow(context, {QStringLiteral("adresar"), Qt::Key_F3, false, 55}) {}
