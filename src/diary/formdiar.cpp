#include "formdiar.h"

Tformdiar::Tformdiar(TProgramContext& context)
    : TRecordWindow(context, {QStringLiteral("diar"), Qt::Key_F2, false, 43}) {}
