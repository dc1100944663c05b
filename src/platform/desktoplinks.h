#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

// Opens links (a "mailto:" address) with the program the desktop has for
// them. The answer comes later, without freezing the windows: whether a
// program took the link.
class IDesktopLinks {
public:
    virtual ~IDesktopLinks() = default;
    virtual void open(const QUrl& url, std::function<void(bool opened)> done) = 0;
};

// Through xdg-open, which says by its exit status whether it found a
// program for the link.
class TXdgDesktopLinks : public QObject, public IDesktopLinks {
    Q_OBJECT
public:
    void open(const QUrl& url, std::function<void(bool opened)> done) override;
};
