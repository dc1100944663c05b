#include "ownsettings.h"

#include <QSettings>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kCloseToTray = u"window/closeToTray"_s;
const QString kPanes = u"readingPane"_s;
const QString kSizes = u"size"_s;
} // namespace

void TOwnSettings::load() {
    QSettings file(FileName, QSettings::IniFormat);
    closeToTray = file.value(kCloseToTray, true).toBool();
    panes.clear();
    file.beginGroup(kPanes);
    for (const QString& window : file.childGroups()) {
        Pane pane;
        pane.shown = file.value(window + u"/shown"_s, true).toBool();
        bool number = false;
        const double share = file.value(window + u"/listShare"_s).toDouble(&number);
        if (number && share > 0 && share < 1)
            pane.listShare = share;
        panes.insert(window, pane);
    }
    file.endGroup();
    sizes.clear();
    file.beginGroup(kSizes);
    for (const QString& name : file.childKeys())
        if (const QSize size = file.value(name).toSize(); size.isValid() && !size.isEmpty())
            sizes.insert(name, size);
    file.endGroup();
}

bool TOwnSettings::save() const {
    QSettings file(FileName, QSettings::IniFormat);
    file.setValue(kCloseToTray, closeToTray);
    for (auto pane = panes.begin(); pane != panes.end(); ++pane) {
        file.setValue(kPanes + u'/' + pane.key() + u"/shown"_s, pane->shown);
        file.setValue(kPanes + u'/' + pane.key() + u"/listShare"_s, pane->listShare);
    }
    for (auto size = sizes.begin(); size != sizes.end(); ++size)
        file.setValue(kSizes + u'/' + size.key(), *size);
    file.sync();
    return file.status() == QSettings::NoError;
}
