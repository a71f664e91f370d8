#include "app/CommandLine.h"

#include <ostream>

#include "app/Version.h"

namespace lumetra {

ProgramCommandLine ParseProgramCommandLine(const std::vector<std::string>& args) {
    ProgramCommandLine line;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!option) {
            if (line.startupArgs.empty()) line.startupArgs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help") {
            line.action = ProgramCommandLine::Action::Help;
        } else if (arg == "--version") {
            line.action = ProgramCommandLine::Action::Version;
        } else {
            line.action = ProgramCommandLine::Action::Usage;
            line.error = "unknown option " + arg;
        }
        return line;
    }
    return line;
}

std::optional<int> AnswerCommandLine(const ProgramCommandLine& line, std::ostream& out,
                                     std::ostream& err) {
    switch (line.action) {
        case ProgramCommandLine::Action::Run:
            return std::nullopt;
        case ProgramCommandLine::Action::Help:
            out << kProgramUsage
                << "\nOpens the Lumetra window, which turns pictures into a slideshow for the\n"
                   "web; with the project file PROJECT.lmx when one is named. lumetra-make\n"
                   "builds and publishes shows without the window.\n";
            return 0;
        case ProgramCommandLine::Action::Version:
            out << "lumetra " << ProgramVersion(false) << '\n';
            return 0;
        case ProgramCommandLine::Action::Usage:
            err << "lumetra: " << line.error << '\n' << kProgramUsage;
            return 1;
    }
    return 1;
}

}  // namespace lumetra
