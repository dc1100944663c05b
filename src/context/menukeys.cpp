#include "menukeys.h"

#include "captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <functional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

qsizetype markAt(const QString& caption);

// A caption that takes a key: how to read and write its text.
struct Item {
    std::function<QString()> text;
    std::function<void(const QString&)> setText;
    // A caption that has its key from elsewhere (Qt's own texts, a menu of
    // the menu bar shown in another menu too): it keeps it, and the key is
    // taken.
    bool fixed = false;
};

// A caption not from the language table that has a key already.
bool keyedElsewhere(const QObject* object, const QString& text) {
    return !object->property(kCaptionProperty).isValid() && text.contains(u'&') &&
           markAt(text) >= 0;
}

// The characters that a key may be: plain letters and digits first, as
// every keyboard types them with Alt, then any other letter.
bool plainKey(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The places in a caption its key may take, best first: word starts, then
// plain characters, then other letters; one place for each key.
QList<qsizetype> keyPlaces(const QString& caption) {
    QList<qsizetype> places;
    QString keys;
    const auto add = [&](qsizetype at) {
        if (const QChar key = caption[at].toLower(); !keys.contains(key)) {
            keys += key;
            places.append(at);
        }
    };
    for (qsizetype at = 0; at < caption.size(); ++at)
        if ((at == 0 || !caption[at - 1].isLetterOrNumber()) && plainKey(caption[at]))
            add(at);
    for (qsizetype at = 0; at < caption.size(); ++at)
        if (plainKey(caption[at]))
            add(at);
    for (qsizetype at = 0; at < caption.size(); ++at)
        if (caption[at].isLetter())
            add(at);
    return places;
}

// Where a caption's key mark is; -1 for none.
qsizetype markAt(const QString& caption) {
    for (qsizetype at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != u'&')
            continue;
        if (caption[at + 1] != u'&')
            return at;
        ++at; // a doubled mark is a plain &
    }
    return -1;
}

// Gives each caption a key of its own: in order, each takes its best free
// place; where none is free, one that an earlier caption can give up for
// another of its places (so as many captions as can have keys get them).
void assign(const std::vector<Item>& items) {
    QStringList captions;
    QList<QList<qsizetype>> places;
    for (const Item& item : items) {
        captions.append(WithoutMenuKeys(item.text()));
        places.append(keyPlaces(captions.back()));
    }
    QHash<QChar, qsizetype> holder;            // key -> caption
    QList<qsizetype> chosen(items.size(), -1); // caption -> place
    const auto keyOf = [&](qsizetype item, qsizetype place) {
        return captions[item][place].toLower();
    };
    // Keys that captions shown elsewhere hold.
    for (const Item& item : items)
        if (const QString text = item.text(); item.fixed)
            if (const qsizetype mark = markAt(text); mark >= 0)
                holder.insert(text[mark + 1].toLower(), -1);
    const auto hold = [&](qsizetype item, qsizetype place) {
        holder[keyOf(item, place)] = item;
        chosen[item] = place;
        return true;
    };
    std::function<bool(qsizetype, QSet<QChar>&)> take = [&](qsizetype item, QSet<QChar>& tried) {
        // The best free place first.
        for (const qsizetype place : places[item])
            if (!holder.contains(keyOf(item, place)))
                return hold(item, place);
        // Else one whose holder can move to another place.
        for (const qsizetype place : places[item]) {
            const QChar key = keyOf(item, place);
            if (tried.contains(key))
                continue;
            tried.insert(key);
            if (holder[key] >= 0 && take(holder[key], tried))
                return hold(item, place);
        }
        return false;
    };
    for (qsizetype item = 0; item < qsizetype(items.size()); ++item) {
        QSet<QChar> tried;
        if (!items[item].fixed)
            take(item, tried);
    }
    for (qsizetype item = 0; item < qsizetype(items.size()); ++item) {
        if (items[item].fixed)
            continue;
        const QString& caption = captions[item];
        QString marked = caption;
        marked.replace(u'&', u"&&"_s);
        if (const qsizetype at = chosen[item]; at >= 0)
            // The place in the marked text: after every doubled mark before it.
            marked.insert(at + caption.left(at).count(u'&'), u'&');
        if (marked != items[item].text())
            items[item].setText(marked);
    }
}

Item actionItem(QAction* action) {
    return {[action] { return action->text(); },
            [action](const QString& text) { action->setText(text); },
            keyedElsewhere(action->menu() ? static_cast<QObject*>(action->menu()) : action,
                           action->text())};
}

void assignMenu(QMenu* menu) {
    std::vector<Item> items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action->isVisible() && !action->text().isEmpty()) {
            items.push_back(actionItem(action));
            if (action->menu())
                for (QObject* shownIn : action->associatedObjects())
                    items.back().fixed |= bool(qobject_cast<QMenuBar*>(shownIn));
        }
    assign(items);
}

// Whether the widget belongs to the window itself, not to a window or menu
// inside it.
bool ownedBy(const QWidget* widget, const QWidget* window) {
    return widget->window() == window && widget->isVisibleTo(window);
}

void assignWindow(QWidget* window) {
    std::vector<Item> items;
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
        if (auto* bar = qobject_cast<QMenuBar*>(main->menuWidget()))
            for (QAction* title : bar->actions())
                if (title->isVisible() && !title->text().isEmpty())
                    items.push_back(actionItem(title));
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!ownedBy(child, window))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(child);
            button && !button->text().isEmpty() && !button->inherits("QToolButton")) {
            items.push_back({[button] { return button->text(); },
                             [button](const QString& text) { button->setText(text); },
                             keyedElsewhere(button, button->text())});
        } else if (auto* label = qobject_cast<QLabel*>(child);
                   label && label->buddy() && label->textFormat() != Qt::RichText) {
            items.push_back({[label] { return label->text(); },
                             [label](const QString& text) { label->setText(text); }});
        } else if (auto* frame = qobject_cast<QGroupBox*>(child); frame && frame->isCheckable()) {
            items.push_back({[frame] { return frame->title(); },
                             [frame](const QString& text) { frame->setTitle(text); }});
        }
    }
    assign(items);
}

class TMenuKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            if (auto* widget = static_cast<QWidget*>(watched); widget->isWindow()) {
                if (auto* menu = qobject_cast<QMenu*>(widget))
                    assignMenu(menu);
                else
                    assignWindow(widget);
            }
        return false;
    }
};

} // namespace

QString WithoutMenuKeys(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype at = 0; at < caption.size(); ++at) {
        if (caption[at] == u'&' && at + 1 < caption.size())
            ++at; // a mark, or the first of a doubled one
        plain += caption[at];
    }
    return plain;
}

void AssignMenuKeys(QWidget* window) {
    assignWindow(window);
    for (QMenu* menu : window->findChildren<QMenu*>())
        assignMenu(menu);
}

void RequestMenuKeys(QWidget* window) {
    static QList<QPointer<QWidget>> pending;
    if (!window || !window->isVisible() || pending.contains(window))
        return;
    pending.append(window);
    if (pending.size() == 1)
        QTimer::singleShot(0, qApp, [] {
            for (const QPointer<QWidget>& waiting : std::exchange(pending, {}))
                if (waiting && waiting->isVisible())
                    AssignMenuKeys(waiting);
        });
}

void InstallMenuKeys() {
    static TMenuKeys* keys = nullptr;
    if (!keys && qApp) {
        keys = new TMenuKeys(qApp);
        qApp->installEventFilter(keys);
    }
}
