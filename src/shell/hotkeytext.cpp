#include "hotkeytext.h"

#include <QKeySequence>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

struct KeyName {
    Qt::Key key;
    const char16_t* name;
};

// The short-cut names of the keys that have one; the first name of a key is
// the one written.
constexpr std::array kNames{
    KeyName{Qt::Key_Backspace, u"BkSp"}, KeyName{Qt::Key_Tab, u"Tab"},
    KeyName{Qt::Key_Return, u"Enter"},   KeyName{Qt::Key_Escape, u"Esc"},
    KeyName{Qt::Key_Space, u"Space"},    KeyName{Qt::Key_PageUp, u"PgUp"},
    KeyName{Qt::Key_PageDown, u"PgDn"},  KeyName{Qt::Key_End, u"End"},
    KeyName{Qt::Key_Home, u"Home"},      KeyName{Qt::Key_Left, u"Left"},
    KeyName{Qt::Key_Up, u"Up"},          KeyName{Qt::Key_Right, u"Right"},
    KeyName{Qt::Key_Down, u"Down"},      KeyName{Qt::Key_Insert, u"Ins"},
    KeyName{Qt::Key_Delete, u"Del"},     KeyName{Qt::Key_Backspace, u"Backspace"},
    KeyName{Qt::Key_Return, u"Return"},  KeyName{Qt::Key_Escape, u"Escape"},
    KeyName{Qt::Key_Insert, u"Insert"},  KeyName{Qt::Key_Delete, u"Delete"},
};

struct Prefix {
    const char16_t* text;
    Qt::KeyboardModifier modifier;
};
constexpr std::array kPrefixes{
    Prefix{u"Shift+", Qt::ShiftModifier}, Prefix{u"Ctrl+", Qt::ControlModifier},
    Prefix{u"Alt+", Qt::AltModifier}, Prefix{u"Meta+", Qt::MetaModifier}};

Qt::Key keyNamed(const QString& name) {
    if (name.isEmpty())
        return Qt::Key_unknown;
    for (const KeyName& entry : kNames)
        if (name.compare(QStringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.key;
    const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].keyboardModifiers() != Qt::NoModifier)
        return Qt::Key_unknown;
    return sequence[0].key();
}

} // namespace

QKeyCombination ParseHotKeyText(const QString& text) {
    Qt::KeyboardModifiers modifiers;
    QStringView rest(text);
    for (bool found = true; found;) {
        found = false;
        for (const Prefix& prefix : kPrefixes) {
            const QStringView p(prefix.text);
            if (rest.size() > p.size() && rest.startsWith(p, Qt::CaseInsensitive)) {
                modifiers |= prefix.modifier;
                rest = rest.sliced(p.size());
                found = true;
            }
        }
    }
    const QKeyCombination keys(modifiers, keyNamed(rest.toString()));
    return IsHotKey(keys) ? keys : QKeyCombination();
}

bool IsHotKey(QKeyCombination keys) {
    return keys.key() != Qt::Key_unknown && keys.key() != 0;
}

bool IsUsableHotKey(QKeyCombination keys) {
    const Qt::Key key = keys.key();
    if (!IsHotKey(keys))
        return false;
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return false;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return true;
    return (keys.keyboardModifiers() &
            (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

QString HotKeyText(QKeyCombination keys) {
    const Qt::Key key = keys.key();
    if (!IsHotKey(keys))
        return QString();
    QString text;
    for (const Prefix& prefix : kPrefixes)
        if (keys.keyboardModifiers() & prefix.modifier)
            text += QStringView(prefix.text);
    for (const KeyName& entry : kNames)
        if (entry.key == key)
            return text + QString::fromUtf16(entry.name);
    return text + QKeySequence(key).toString(QKeySequence::PortableText);
}
