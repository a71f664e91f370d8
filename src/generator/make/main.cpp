// lumetra-make: builds a show without the window, from a project file or a
// folder of pictures, exactly as the create page would.

#include <unistd.h>

#include <exception>
#include <iostream>

#include "MakeOptions.h"
#include "MakeRun.h"
#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/Platform.h"
#include "app/Startup.h"

namespace {

// Console messages, remembering whether any reported a problem.
class TallyingServices : public lumetra::ConsoleServices {
  public:
    using ConsoleServices::ConsoleServices;
    int messageBox(const std::string& text, const std::string& caption, int flags) override {
        const int kind = flags & 0xF0;
        if (kind == lumetra::mb::kIconError || kind == lumetra::mb::kIconWarning) problems = true;
        return ConsoleServices::messageBox(text, caption, flags);
    }
    bool problems = false;
};

}  // namespace

int main(int argc, char** argv) {
    using namespace lumetra;
    std::string error;
    const auto options = make::ParseMakeOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "lumetra-make: " << error << '\n' << make::kUsage;
        return make::kExitUsage;
    }
    // Before the conversion's workers start, so they inherit the blocked signals.
    platform::removeInstanceTempFolderOnSignal();
    TallyingServices services(std::cerr);
    int status = make::kExitBuild;
    try {
        Application app(services);
        RunStartup(app, {});
        status = make::RunMake(app, *options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1,
                               [&] { return services.problems; });
    } catch (const std::exception& e) {
        // Errors no step reports itself (a disk that is full, an unreadable template).
        services.messageBox(e.what(), "lumetra-make", mb::kError);
        status = make::kExitBuild;
    }
    try {
        platform::removeInstanceTempFolder();
    } catch (const std::exception&) {
        // Leaving a temporary folder behind is no reason to fail a written show.
    }
    return status;
}
