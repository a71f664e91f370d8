// The command lines of lumetra and lumetra-make: the project argument, --help,
// --version and wrong options, parsed and as the programs answer them.

#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/RunShell.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

using Action = ProgramCommandLine::Action;

TEST(CommandLine, ProjectArgumentAndOptions) {
    struct {
        std::vector<std::string> args;
        Action action;
        std::vector<std::string> startupArgs;
    } cases[] = {
        {{}, Action::Run, {}},
        {{"show.lmx"}, Action::Run, {"show.lmx"}},
        // Only the first argument names the project; an empty one names none.
        {{"a.lmx", "b.lmx"}, Action::Run, {"a.lmx"}},
        {{"", "b.lmx"}, Action::Run, {""}},
        {{"-"}, Action::Run, {"-"}},
        {{"--", "--help"}, Action::Run, {"--help"}},
        {{"--", "-x.lmx", "--version"}, Action::Run, {"-x.lmx"}},
        {{"--help"}, Action::Help, {}},
        {{"show.lmx", "--version"}, Action::Version, {"show.lmx"}},
        {{"--version", "--bogus"}, Action::Version, {}},
        {{"--bogus", "--help"}, Action::Usage, {}},
        // Qt's own options are not ours either.
        {{"-platform", "offscreen"}, Action::Usage, {}},
        {{"-h"}, Action::Usage, {}},
    };
    for (const auto& c : cases) {
        const ProgramCommandLine line = ParseProgramCommandLine(c.args);
        const std::string shown = testing::PrintToString(c.args);
        EXPECT_EQ(line.action, c.action) << shown;
        EXPECT_EQ(line.startupArgs, c.startupArgs) << shown;
    }
    EXPECT_EQ(ParseProgramCommandLine({"-platform"}).error, "unknown option -platform");
}

struct ProgramRun : test::ShellRun {
    std::string err;
};

// Runs a program without any display: a program that made its window
// system connection for these options would fail.
ProgramRun runWithoutDisplay(const std::string& program, const std::string& args) {
    test::TestFolder dir;
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME='" +
                                dir.path().string() + "' XDG_CONFIG_HOME='" +
                                (dir / "config").string() + "' '" + program + "' " + args + " 2>'" +
                                (dir / "err").string() + "'";
    ProgramRun run{test::RunShell(command), ""};
    std::ifstream err(dir / "err");
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    return run;
}

TEST(CommandLine, BothProgramsAnswerWithoutADisplay) {
    struct {
        const char* program;
        const char* name;
    } programs[] = {{LUMETRA_PROGRAM, "lumetra"}, {LUMETRA_MAKE_PROGRAM, "lumetra-make"}};
    for (const auto& p : programs) {
        const std::string name = p.name;
        struct {
            std::string args;
            int status;
            std::string outStart;  // "" when stdout must stay empty
            std::string errStart;
        } cases[] = {
            {"--version", 0, name + " 3.3.1.37\n", ""},
            {"--help", 0, "usage: " + name + " ", ""},
            {"--help --bogus", 0, "usage: " + name + " ", ""},
            {"--bogus", 1, "", name + ": unknown option --bogus\nusage: " + name + " "},
            {"-x --help", 1, "", name + ": unknown option -x\nusage: "},
        };
        for (const auto& c : cases) {
            const ProgramRun run = runWithoutDisplay(p.program, c.args);
            const std::string shown = name + " " + c.args;
            EXPECT_EQ(run.status, c.status) << shown << "\n" << run.err;
            EXPECT_EQ(run.out.substr(0, c.outStart.size()), c.outStart) << shown;
            if (c.outStart.empty()) {
                EXPECT_EQ(run.out, "") << shown;
            }
            EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart) << shown;
            if (c.errStart.empty()) {
                EXPECT_EQ(run.err, "") << shown;
            }
        }
    }
}

}  // namespace
}  // namespace lumetra
