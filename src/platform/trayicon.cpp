#include "trayicon.h"

#include "programicon.h"
#include "trace.h"

#include <QMenu>
#include <QSystemTrayIcon>

using namespace Qt::Literals::StringLiterals;

TTrayIkona::TTrayIkona(std::unique_ptr<ITrayArea> area, QObject* owner)
    : QObject(owner), m_area(std::move(area)), m_standardIcon(ProgramIcon()) {
    m_area->onLeftClick = [this] {
        if (OnClick)
            OnClick();
    };
}

TTrayIkona::~TTrayIkona() {
    setIconVisible(false);
}

QIcon TTrayIkona::ActiveIcon() const {
    return m_icon.isNull() ? m_standardIcon : m_icon;
}

QString TTrayIkona::tip() const {
    if (m_hint.size() <= MaxHintLength)
        return m_hint;
    // Never keep half of a character outside the basic plane.
    const qsizetype cut =
        m_hint[MaxHintLength - 1].isHighSurrogate() ? MaxHintLength - 1 : MaxHintLength;
    return m_hint.left(cut);
}

void TTrayIkona::setIcon(const QIcon& icon) {
    if (icon.cacheKey() == m_icon.cacheKey())
        return;
    m_icon = icon;
    if (m_iconVisible)
        m_area->modify(ITrayArea::IconFlag, ActiveIcon(), tip());
}

void TTrayIkona::setHint(const QString& value) {
    if (value == m_hint)
        return;
    m_hint = value;
    Trace(u"tray tip: "_s + value);
    if (m_iconVisible)
        m_area->modify(ITrayArea::TipFlag, ActiveIcon(), tip());
}

void TTrayIkona::setIconVisible(bool value) {
    if (value == m_iconVisible)
        return;
    m_iconVisible = value;
    if (value)
        m_area->add(ActiveIcon(), tip());
    else
        m_area->remove();
}

void TTrayIkona::setPopupMenu(QMenu* menu) {
    m_popupMenu = menu;
    m_area->setMenu(menu);
}

namespace {

class TSystemTrayArea : public ITrayArea {
public:
    TSystemTrayArea() {
        QObject::connect(&m_icon, &QSystemTrayIcon::activated,
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             if (reason == QSystemTrayIcon::Trigger && onLeftClick)
                                 onLeftClick();
                         });
    }
    void add(const QIcon& icon, const QString& tip) override {
        m_icon.setIcon(icon);
        m_icon.setToolTip(tip);
        m_icon.show();
    }
    void modify(int flags, const QIcon& icon, const QString& tip) override {
        if (flags & IconFlag)
            m_icon.setIcon(icon);
        if (flags & TipFlag)
            m_icon.setToolTip(tip);
    }
    void remove() override { m_icon.hide(); }
    void setMenu(QMenu* menu) override { m_icon.setContextMenu(menu); }
    bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

private:
    QSystemTrayIcon m_icon;
};

} // namespace

std::unique_ptr<ITrayArea> MakeSystemTrayArea() {
    return std::make_unique<TSystemTrayArea>();
}
