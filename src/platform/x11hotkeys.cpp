// Global hot keys through X11 key grabs on the root window.
#include "hotkeys.h"
#include "portalhotkeys.h"

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QHash>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

using namespace Qt::Literals::StringLiterals;

// Keysyms of the keys a hot-key edit can produce beyond printable Latin-1.
xcb_keysym_t keysymOf(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return xcb_keysym_t(key - Qt::Key_A + 'a');
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return xcb_keysym_t(0xffbe + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Escape:
        return 0xff1b;
    case Qt::Key_Tab:
        return 0xff09;
    case Qt::Key_Backspace:
        return 0xff08;
    case Qt::Key_Return:
        return 0xff0d;
    case Qt::Key_Enter:
        return 0xff8d;
    case Qt::Key_Insert:
        return 0xff63;
    case Qt::Key_Delete:
        return 0xffff;
    case Qt::Key_Pause:
        return 0xff13;
    case Qt::Key_Print:
        return 0xff61;
    case Qt::Key_Home:
        return 0xff50;
    case Qt::Key_End:
        return 0xff57;
    case Qt::Key_Left:
        return 0xff51;
    case Qt::Key_Up:
        return 0xff52;
    case Qt::Key_Right:
        return 0xff53;
    case Qt::Key_Down:
        return 0xff54;
    case Qt::Key_PageUp:
        return 0xff55;
    case Qt::Key_PageDown:
        return 0xff56;
    default:
        break;
    }
    // Printable Latin-1 keys: the keysym is the character's code.
    if ((key >= 0x20 && key <= 0x7e) || (key >= 0xa0 && key <= 0xff))
        return xcb_keysym_t(key);
    return 0;
}

uint16_t modifiersOf(Qt::KeyboardModifiers modifiers) {
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

constexpr uint16_t kRelevant =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

class TX11HotKeys : public IHotKeys, public QAbstractNativeEventFilter {
public:
    explicit TX11HotKeys(xcb_connection_t* connection) : m_connection(connection) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        m_symbols = xcb_key_symbols_alloc(connection);
        m_numLock = numLockMask();
        qGuiApp->installNativeEventFilter(this);
    }
    ~TX11HotKeys() override {
        qGuiApp->removeNativeEventFilter(this);
        const auto ids = m_grabs.keys();
        for (int id : ids)
            unregisterHotKey(id);
        xcb_key_symbols_free(m_symbols);
    }

    bool registerHotKey(int id, QKeyCombination keys) override {
        unregisterHotKey(id);
        const xcb_keysym_t keysym = keysymOf(keys.key());
        if (!keysym)
            return false;
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
        const xcb_keycode_t code = codes ? codes[0] : XCB_NO_SYMBOL;
        free(codes);
        if (code == XCB_NO_SYMBOL)
            return false;
        const Grab grab{code, modifiersOf(keys.keyboardModifiers())};
        // Each variant with and without NumLock and CapsLock, so the key
        // works whatever the lock keys say. BadAccess: another program has it.
        bool taken = true;
        xcb_void_cookie_t cookies[4];
        for (int v = 0; v < 4; ++v)
            cookies[v] = xcb_grab_key_checked(m_connection, 1, m_root, grab.modifiers | variant(v),
                                              grab.code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        for (auto cookie : cookies) {
            if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
                taken = false;
                free(error);
            }
        }
        if (!taken) {
            ungrab(grab);
            return false;
        }
        m_grabs.insert(id, grab);
        return true;
    }

    void unregisterHotKey(int id) override {
        const auto it = m_grabs.constFind(id);
        if (it == m_grabs.cend())
            return;
        ungrab(*it);
        m_grabs.erase(it);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
            return false;
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        const uint16_t state = key->state & kRelevant;
        for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
            if (it->code == key->detail && it->modifiers == state) {
                const int id = it.key();
                QMetaObject::invokeMethod(
                    this, [this, id] { emit activated(id); }, Qt::QueuedConnection);
                return true;
            }
        }
        return false;
    }

private:
    struct Grab {
        xcb_keycode_t code;
        uint16_t modifiers;
    };

    uint16_t variant(int v) const {
        return uint16_t(((v & 1) ? m_numLock : 0) | ((v & 2) ? XCB_MOD_MASK_LOCK : 0));
    }

    void ungrab(const Grab& grab) {
        for (int v = 0; v < 4; ++v)
            xcb_ungrab_key(m_connection, grab.code, m_root, grab.modifiers | variant(v));
        xcb_flush(m_connection);
    }

    // The modifier that NumLock sets, read from the modifier map.
    uint16_t numLockMask() {
        uint16_t mask = 0;
        xcb_keycode_t* numLock = xcb_key_symbols_get_keycode(m_symbols, 0xff7f);
        xcb_get_modifier_mapping_reply_t* reply = xcb_get_modifier_mapping_reply(
            m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
        if (numLock && reply) {
            const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply);
            const int perModifier = reply->keycodes_per_modifier;
            for (int modifier = 0; modifier < 8; ++modifier)
                for (int i = 0; i < perModifier; ++i)
                    for (const xcb_keycode_t* n = numLock; *n != XCB_NO_SYMBOL; ++n)
                        if (codes[modifier * perModifier + i] == *n && *n != 0)
                            mask = uint16_t(1 << modifier);
        }
        free(reply);
        free(numLock);
        return mask;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_key_symbols_t* m_symbols = nullptr;
    uint16_t m_numLock = 0;
    QHash<int, Grab> m_grabs;
};

// Where there are no global keys, nothing is ever registered.
class TNoHotKeys : public IHotKeys {
public:
    bool registerHotKey(int, QKeyCombination) override { return false; }
    void unregisterHotKey(int) override {}
};

} // namespace

std::unique_ptr<IHotKeys> MakeSystemHotKeys() {
    if (QGuiApplication::platformName() == u"xcb"_s) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
            x11 && x11->connection())
            return std::make_unique<TX11HotKeys>(x11->connection());
    }
    // Wayland: the desktop portal, when there is a session bus to ask it on.
    if (QGuiApplication::platformName().startsWith(u"wayland"_s) &&
        QDBusConnection::sessionBus().isConnected())
        return std::make_unique<TPortalHotKeys>();
    return std::make_unique<TNoHotKeys>();
}
