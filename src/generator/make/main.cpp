// lumetra-make: builds a show without the window, from a project file or a
// folder of pictures, exactly as the create page would.

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <exception>
#include <iostream>

#include "MakeOptions.h"
#include "MakeRun.h"
#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/Platform.h"
#include "app/Startup.h"
#include "app/StopRequest.h"
#include "app/Version.h"

namespace {

// Console messages, remembering whether any reported a problem. Once a stop
// signal has come nothing is printed: what fails then fails because of it.
class TallyingServices : public lumetra::ConsoleServices {
  public:
    using ConsoleServices::ConsoleServices;
    int messageBox(const std::string& text, const std::string& caption, int flags) override {
        const auto printing = lumetra::LockRunEnd();
        if (lumetra::StopSignal() != 0) return lumetra::mb::IDCANCEL;
        const int kind = flags & 0xF0;
        if (kind == lumetra::mb::kIconError || kind == lumetra::mb::kIconWarning) problems = true;
        return ConsoleServices::messageBox(text, caption, flags);
    }
    bool problems = false;
};

// A stop signal's work has unwound to here: the run ends for it.
[[noreturn]] void EndStopped() {
    const auto end = lumetra::LockRunEnd();
    lumetra::EndForStopSignal();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lumetra;
    std::string error;
    const auto options = make::ParseMakeOptions({argv + 1, argv + argc}, error);
    if (options && options->help) {
        std::cout << make::kUsage << make::kHelp;
        return make::kExitOk;
    }
    if (options && options->version) {
        std::cout << "lumetra-make " << ProgramVersion(false) << '\n';
        return make::kExitOk;
    }
    if (options) error = make::CheckSaveTarget(options->saveProject);
    if (!options || !error.empty()) {
        std::cerr << "lumetra-make: " << error << '\n' << make::kUsage;
        return make::kExitUsage;
    }
    // A reader that went away (`| head`) stops the progress output, not the
    // build; a file size limit shows as a write error like a full disk.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
    // Before the conversion's workers start, so they inherit the blocked
    // signals. The build notices a stop within a picture's rows; the grace
    // only matters when something blocks longer.
    WatchStopSignals(std::chrono::seconds(3));
    TallyingServices services(std::cerr);
    int status = make::kExitBuild;
    try {
        Application app(services);
        RunStartup(app, {});
        status = make::RunMake(app, *options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1,
                               [&] { return services.problems; });
    } catch (const StopRequested&) {
        EndStopped();
    } catch (const std::exception& e) {
        // Errors no step reports itself (a disk that is full, an unreadable template).
        services.messageBox(e.what(), "lumetra-make", mb::kError);
        status = make::kExitBuild;
    }
    // A run that printed its page is complete whenever a signal comes; one
    // that failed after a signal failed because of it.
    const auto end = LockRunEnd();
    if (StopSignal() != 0 && status != make::kExitOk) EndForStopSignal();
    try {
        platform::removeInstanceTempFolder();
    } catch (const std::exception&) {
        // Leaving a temporary folder behind is no reason to fail a written show.
    }
    return status;
}
