#pragma once
// The steps of lumetra-make, each usable on its own by the tests.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "MakeOptions.h"

namespace lumetra {
class Application;
}

namespace lumetra::make {

enum ExitCode {
    kExitOk = 0,
    kExitUsage = 1,
    kExitProject = 2,  // project file refused or unreadable
    kExitCheck = 3,    // no slides, a missing picture or music file
    kExitBuild = 4,    // the show could not be written completely
};

// Why a --save-project path cannot be written, or empty when it can (a
// regular file, a link to one, or nothing yet).
std::string CheckSaveTarget(const std::string& path);

// Everything after the options are read; progress goes to progress, the
// created page's path to out. problemsReported tells whether an error or a
// warning was shown meanwhile (a picture that could not be read still yields
// a show, but not a complete one).
int RunMake(Application& app, const MakeOptions& options, std::ostream& out, std::ostream& progress,
            bool progressBar, const std::function<bool()>& problemsReported = {});

}  // namespace lumetra::make
