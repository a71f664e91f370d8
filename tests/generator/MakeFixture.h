#pragma once
// lumetra-make run from the outside, with a home, configuration and temporary
// folder of its own below the test folder.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ShowFixture.h"
#include "generator/picture/JpegWriter.h"

namespace lumetra::test {

namespace fs = std::filesystem;

// A small uncompressed 24-bit bitmap of one colour.
inline std::string Bitmap(int width, int height, unsigned char shade) {
    const int row = (width * 3 + 3) / 4 * 4;
    const auto u32 = [](std::uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    std::string bmp = "BM" + u32(54 + row * height) + u32(0) + u32(54);
    bmp += u32(40) + u32(width) + u32(height) + std::string{1, 0, 24, 0} + u32(0) +
           u32(row * height) + u32(2835) + u32(2835) + u32(0) + u32(0);
    for (int y = 0; y < height; ++y) {
        std::string line(row, '\0');
        for (int x = 0; x < width; ++x) line[x * 3] = line[x * 3 + 1] = char(shade + x);
        bmp += line;
    }
    return bmp;
}

struct MakeResult {
    int status;
    std::string out;
};

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
    MakeResult shell(const std::string& command) {
        MakeResult run{-1, ""};
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[512];
            while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
            const int status = pclose(pipe);
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        return run;
    }
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
