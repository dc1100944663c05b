#include "programcontext.h"

#include "formvelmorand.h"
#include "records/recordwindow.h"

QWidget* TWindows::byName(const QString& name) const {
    if (name == u"poznamky")
        return poznamky;
    if (name == u"diar")
        return diar;
    if (name == u"adresar")
        return adresar;
    if (name == u"dennik")
        return dennik;
    if (name == u"narodky")
        return narodky;
    if (name == u"velmorand")
        return main;
    return nullptr;
}
