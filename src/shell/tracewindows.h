#pragma once

#include <QObject>

// For the end-to-end tests and for diagnosis, while tracing is on: the main
// window's first paint, each window that becomes active, and where the
// items of its menu bar, its buttons and the items of every menu that opens
// are on the screen, so that a test can click them as a user does.
class TTraceWindows : public QObject {
public:
    explicit TTraceWindows(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_painted = false;
};
