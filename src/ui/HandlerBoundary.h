#pragma once
// Qt lets no exception pass through its event loop. Every handler of a window
// runs through guarded(): an exception that leaves it is shown with the
// error icon and the GUI/Title caption, and the program goes on.

#include <exception>
#include <utility>

namespace lumetra {
class Application;
}

namespace lumetra::ui {

// The general error report: shows the text of the exception in flight.
void ReportHandlerError(Application& app, std::exception_ptr error) noexcept;

template <typename Handler>
void guarded(Application& app, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        ReportHandlerError(app, std::current_exception());
    }
}

}  // namespace lumetra::ui
