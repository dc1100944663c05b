#include "application.h"

#include <cstdio>

namespace {

TApplication::ErrorHandler& handler() {
    static TApplication::ErrorHandler current;
    return current;
}

} // namespace

void TApplication::setErrorHandler(ErrorHandler handler) {
    ::handler() = std::move(handler);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        try {
            if (!handler())
                throw;
            handler()(error);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velmorand: %s\n", e.what());
        } catch (...) {
            std::fputs("velmorand: an unknown error\n", stderr);
        }
    }
    return false;
}
