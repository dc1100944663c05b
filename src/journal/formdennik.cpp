#include "formdennik.h"

Tformdennik::Tformdennik(TProgramContext& context)
    : TRecordWindow(context, {QStringLiteral("dennik"), Qt::Key_F4, false, 109}) {}
