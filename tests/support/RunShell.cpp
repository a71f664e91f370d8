#include "support/RunShell.h"

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>

namespace lumetra::test {

ShellRun RunShell(const std::string& command) {
    ShellRun run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

std::string TestBitmap(int width, int height, unsigned char shade) {
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

}  // namespace lumetra::test
