#pragma once
// lumetra-make run from the outside, with a home, configuration and temporary
// folder of its own below the test folder.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ShowFixture.h"
#include "generator/picture/JpegWriter.h"
#include "support/RunShell.h"

namespace lumetra::test {

namespace fs = std::filesystem;

using MakeResult = ShellRun;

class MakeFixture : public ShowFixture {
  protected:
    // Runs lumetra-make with a home, configuration and temporary folder below the test folder.
    MakeResult make(const std::string& args) {
        return shell(program() + args + " 2>'" + (dir / "stderr.txt").string() + "'");
    }
    // The program with its environment, ready for arguments.
    std::string program() {
        fs::create_directories(dir / "tmp");
        return "env -u XDG_RUNTIME_DIR HOME='" + (dir / "home").string() + "' XDG_CONFIG_HOME='" +
               (dir / "home/.config").string() + "' TMPDIR='" + (dir / "tmp").string() +
               "' '" LUMETRA_MAKE_PROGRAM "' ";
    }
    MakeResult shell(const std::string& command) { return RunShell(command); }
    std::string q(const fs::path& path) const { return "'" + path.string() + "'"; }
    std::string errors() const { return dir.read("stderr.txt"); }

    // This run's temporary folders (LMT3TMP below the private folder).
    fs::path instances() const {
        return dir / "tmp" / ("lumetra-" + std::to_string(getuid())) / "LMT3TMP";
    }
};

// A flat grey JPEG: small on disk, yet slow enough to decode and re-encode.
inline std::string FlatJpeg(int width, int height) {
    JpegWriter writer(width, height);
    const std::vector<std::uint8_t> row(std::size_t(width) * 3, 128);
    for (int y = 0; y < height; ++y) writer.writeRow(row.data());
    const std::vector<std::uint8_t> bytes = writer.finish();
    return {bytes.begin(), bytes.end()};
}

}  // namespace lumetra::test
