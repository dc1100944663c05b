#pragma once

#include <QApplication>
#include <exception>
#include <functional>

// The application with the event loop's last guard. Commands run in their
// own guard; an exception that anything else lets go (a timer, a queued
// call, a signal's handler) ends no more than the event it came with: it is
// said, and the program goes on. A window's command keys come before a
// field's own editing keys.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;

    // What says such an error (given to it to rethrow); without one,
    // stderr says it.
    using ErrorHandler = std::function<void(std::exception_ptr)>;
    static void setErrorHandler(ErrorHandler handler);
};
