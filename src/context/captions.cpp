#include "captions.h"

#include "language/languagetable.h"
#include "menukeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QBoxLayout>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

namespace {

constexpr const char* kProperty = kCaptionProperty;

void setText(QObject* object, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(object))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(object))
        menu->setTitle(text);
    else if (auto* frame = qobject_cast<QGroupBox*>(object))
        frame->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(object))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(object))
        label->setText(text);
}

// The window whose keys a caption of the object takes part in.
QWidget* windowOf(QObject* object) {
    if (auto* menu = qobject_cast<QMenu*>(object))
        return menu->parentWidget() ? menu->parentWidget()->window() : menu;
    if (auto* widget = qobject_cast<QWidget*>(object))
        return widget->window();
    if (auto* owner = qobject_cast<QWidget*>(object->parent()))
        return owner->window();
    return nullptr;
}

void apply(QObject* object, const TLanguageTable& strings) {
    const QVariant text = object->property(kProperty);
    if (text.isValid())
        setText(object, strings.at(text.toInt()));
}

} // namespace

void Caption(QObject* object, const TLanguageTable& strings, Str text) {
    object->setProperty(kProperty, int(text));
    setText(object, strings[text]);
    RequestMenuKeys(windowOf(object));
}

void Recaption(QObject* root, const TLanguageTable& strings) {
    RequestMenuKeys(windowOf(root));
    apply(root, strings);
    for (QObject* child : root->findChildren<QObject*>())
        apply(child, strings);
    for (QDateEdit* picker : root->findChildren<QDateEdit*>())
        ShowLongDate(picker);
}

QDateEdit* MakeDayPicker(const char* name, QDate day) {
    auto* picker = new QDateEdit;
    picker->setObjectName(QString::fromLatin1(name));
    picker->setCalendarPopup(true);
    ShowLongDate(picker);
    picker->setDate(day);
    return picker;
}

void ShowLongDate(QDateEdit* picker) {
    const QLocale locale;
    picker->setLocale(locale);
    picker->setDisplayFormat(locale.dateFormat(QLocale::LongFormat));
    if (picker->calendarPopup())
        picker->calendarWidget()->setLocale(locale);
}

void ApplyLanguage(QWidget* window) {
    if (auto* translatable = dynamic_cast<ITranslatable*>(window))
        translatable->Aplikujjazyk();
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->isWindow())
            if (auto* translatable = dynamic_cast<ITranslatable*>(child))
                translatable->Aplikujjazyk();
}

void AddOkCancel(QBoxLayout* layout, QDialog* dialog, const TLanguageTable& strings,
                 QPushButton*& ok, QPushButton*& zrusit) {
    ok = new QPushButton;
    ok->setObjectName(QStringLiteral("ok"));
    Caption(ok, strings, Str::Ok);
    ok->setDefault(true);
    zrusit = new QPushButton;
    zrusit->setObjectName(QStringLiteral("zrusit"));
    Caption(zrusit, strings, Str::Cancel);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(zrusit);
    layout->addLayout(row);
    QObject::connect(zrusit, &QPushButton::clicked, dialog, &QDialog::reject);
}
