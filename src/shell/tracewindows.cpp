#include "tracewindows.h"

#include "platform/trace.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QKeySequenceEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QTreeView>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

void traceAt(const QString& name, QWidget* widget, const QRect& rect) {
    const QPoint centre = widget->mapToGlobal(rect.center());
    Trace(u"at: %1 %2,%3"_s.arg(name).arg(centre.x()).arg(centre.y()));
}

void traceMenu(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (!action->objectName().isEmpty() && action->isVisible())
            traceAt(menu->objectName() + u'/' + action->objectName(), menu,
                    menu->actionGeometry(action));
        else if (action->menu() && !action->menu()->objectName().isEmpty())
            traceAt(menu->objectName() + u'/' + action->menu()->objectName(), menu,
                    menu->actionGeometry(action));
}

void traceWindow(QWidget* window) {
    const QString name = window->objectName();
    Trace(u"active: %1 %2"_s.arg(name, window->windowTitle()));
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        Trace(u"box text: "_s + QString(box->text()).replace(u'\n', u" | "_s));
        QStringList buttons;
        for (QAbstractButton* button : box->buttons())
            buttons.append(button->text().remove(u'&'));
        Trace(u"box buttons: "_s + buttons.join(u" | "_s));
    }
    if (auto* bar = window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly))
        for (QAction* action : bar->actions())
            if (action->menu())
                traceAt(name + u'/' + action->menu()->objectName(), bar,
                        bar->actionGeometry(action));
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->objectName().isEmpty() || !button->isVisible())
            continue;
        // A check box or a radio button answers a click on its mark.
        const bool marked = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
        traceAt(name + u'/' + button->objectName(), button,
                marked ? QRect(0, 0, button->height(), button->height()) : button->rect());
    }
    // The first rows of a record list, to be clicked.
    if (auto* list = window->findChild<QTreeView*>(u"zoznam"_s); list && list->isVisible())
        for (int row = 0; row < std::min(list->model()->rowCount(), 5); ++row)
            traceAt(name + u"/zoznam/"_s + QString::number(row), list->viewport(),
                    list->visualRect(list->model()->index(row, 0)));
    for (QKeySequenceEdit* edit : window->findChildren<QKeySequenceEdit*>())
        if (edit->isVisible())
            traceAt(name + u'/' + edit->objectName(), edit, edit->rect());
}

} // namespace

TTraceWindows::TTraceWindows(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

bool TTraceWindows::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Paint:
        if (!m_painted && widget->objectName() == u"formvelmorand") {
            m_painted = true;
            Trace(u"painted"_s);
            if (auto* ok = widget->findChild<QWidget*>(u"ok"_s)) {
                const QPoint centre = ok->mapToGlobal(ok->rect().center());
                Trace(u"ok button at %1,%2"_s.arg(centre.x()).arg(centre.y()));
            }
        }
        break;
    case QEvent::WindowActivate:
        if (widget->isWindow() && !qobject_cast<QMenu*>(widget))
            traceWindow(widget);
        break;
    case QEvent::Show:
        if (auto* menu = qobject_cast<QMenu*>(widget))
            traceMenu(menu);
        break;
    default:
        break;
    }
    return false;
}
