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

int main(int argc, char** argv) {
    using namespace lumetra;
    std::string error;
    const auto options = make::ParseMakeOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "lumetra-make: " << error << '\n' << make::kUsage;
        return make::kExitUsage;
    }
    ConsoleServices services(std::cerr);
    int status = make::kExitBuild;
    try {
        Application app(services);
        RunStartup(app, {});
        status = make::RunMake(app, *options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
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
