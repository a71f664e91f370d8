#pragma once
// Runs a shell command line and keeps what it wrote on stdout and its exit
// status, for tests that run the programs themselves.

#include <string>

namespace lumetra::test {

struct ShellRun {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string out;
};

ShellRun RunShell(const std::string& command);

// A small uncompressed 24-bit BMP picture whose rows get lighter from shade on.
std::string TestBitmap(int width, int height, unsigned char shade);

}  // namespace lumetra::test
