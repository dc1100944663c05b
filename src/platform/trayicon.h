#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

// One icon in the notification area, as the tray component drives it: add,
// change, remove; and the left click coming back.
class ITrayArea {
public:
    enum Flags { IconFlag = 2, TipFlag = 4 };
    virtual ~ITrayArea() = default;
    virtual void add(const QIcon& icon, const QString& tip) = 0;
    virtual void modify(int flags, const QIcon& icon, const QString& tip) = 0;
    virtual void remove() = 0;
    // The menu shown on a right click; null for none.
    virtual void setMenu(QMenu* menu) = 0;
    // Whether the desktop has a notification area to show the icon in.
    virtual bool available() const = 0;
    // Called on a left click.
    std::function<void()> onLeftClick;
};

// The tray component: an icon with a tip in the notification area, a popup
// menu on a right click and an event on a left click. Setting a property to
// the value it has sends nothing to the notification area.
class TTrayIkona : public QObject {
    Q_OBJECT
public:
    explicit TTrayIkona(std::unique_ptr<ITrayArea> area, QObject* owner = nullptr);
    ~TTrayIkona() override;

    static constexpr int MaxHintLength = 63;

    // The component's own icon; the program's icon is shown while it is null.
    QIcon Icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    QIcon ActiveIcon() const;

    bool HideTask() const { return m_hideTask; }
    void setHideTask(bool value) { m_hideTask = value; }

    QString Hint() const { return m_hint; }
    void setHint(const QString& value);

    bool IconVisible() const { return m_iconVisible; }
    void setIconVisible(bool value);

    // Not owned; cleared when the menu is destroyed.
    QMenu* PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu* menu);

    // Called on a left click when set.
    std::function<void()> OnClick;

    // Whether the icon can be seen: the desktop has a notification area.
    bool available() const { return m_area->available(); }

private:
    // The tip as the notification area takes it: at most 63 characters.
    QString tip() const;

    std::unique_ptr<ITrayArea> m_area;
    QIcon m_standardIcon;
    QIcon m_icon;
    bool m_hideTask = false;
    QString m_hint;
    bool m_iconVisible = false;
    QPointer<QMenu> m_popupMenu;
};

// The desktop's notification area through QSystemTrayIcon. Without a tray
// host nothing shows; Qt adds the icon when a host appears later.
std::unique_ptr<ITrayArea> MakeSystemTrayArea();
