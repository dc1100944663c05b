#include "ownsettings.h"

#include <QSettings>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kCloseToTray = u"window/closeToTray"_s;
}

void TOwnSettings::load() {
    const QSettings file(FileName, QSettings::IniFormat);
    closeToTray = file.value(kCloseToTray, true).toBool();
}

bool TOwnSettings::save() const {
    QSettings file(FileName, QSettings::IniFormat);
    file.setValue(kCloseToTray, closeToTray);
    file.sync();
    return file.status() == QSettings::NoError;
}
