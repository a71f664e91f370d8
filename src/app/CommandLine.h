#pragma once
// The command line of lumetra: one optional project file, plus --help and
// --version, answered before any window (or display) is needed.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {

struct ProgramCommandLine {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    // The arguments start-up gets: the project file first, when there is one.
    std::vector<std::string> startupArgs;
    std::string error;  // with Usage: what was wrong
};

inline constexpr const char* kProgramUsage =
    "usage: lumetra [PROJECT.lmx]\n"
    "       lumetra --help | --version\n";

// args are the arguments after the program name. The first of --help,
// --version or an unknown option decides; "--" ends the options. The first
// other argument is the project file; any further one is ignored, as only the
// first argument ever was used.
ProgramCommandLine ParseProgramCommandLine(const std::vector<std::string>& args);

// Prints the help, the version or the usage error and returns the exit
// status; nothing and no status when the program is to run.
std::optional<int> AnswerCommandLine(const ProgramCommandLine& line, std::ostream& out,
                                     std::ostream& err);

}  // namespace lumetra
