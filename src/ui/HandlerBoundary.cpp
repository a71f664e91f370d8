#include "ui/HandlerBoundary.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "app/Application.h"
#include "app/Services.h"

namespace lumetra::ui {

void ReportHandlerError(Application& app, std::exception_ptr error) noexcept {
    std::string text = "Unknown error";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
    }
    try {
        app.MsgBox(text, mb::kError);
    } catch (...) {
        // Even the report failed (the language file is gone): the console is left.
        std::fprintf(stderr, "lumetra: %s\n", text.c_str());
    }
}

}  // namespace lumetra::ui
