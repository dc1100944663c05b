#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP turned into a signal of the event loop, so that
// the program closes the normal way (settings and view files written). One
// watcher per process: the signal handlers are process-wide.
class TTerminationWatcher : public QObject {
    Q_OBJECT
public:
    explicit TTerminationWatcher(QObject* parent = nullptr);
    ~TTerminationWatcher() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
