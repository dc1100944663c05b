#include "formpoznamky.h"

TFormpoznamky::TFormpoznamky(TProgramContext& context)
    : TRecordWindow(context, {QStringLiteral("poznamky"), Qt::Key_F1, true, 1}) {}
