// Arbitrary version files: the split never crashes, no line holds a line
// end, the lines put back together give the body again, and the comparison
// of the first line with the second is a strict order.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/VersionCompare.h"
#include "update/VersionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    const auto lines = lumetra::update::SplitLines(body);
    if (body.empty() != lines.empty()) std::abort();
    std::string joined;
    for (const std::string& line : lines) {
        if (line.find('\n') != std::string::npos) std::abort();
        joined += line;
        joined += '\n';
    }
    // Each line end was LF or CR LF; the last one may be missing.
    std::string normal;
    for (std::size_t i = 0; i < body.size(); ++i)
        if (!(body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')) normal += body[i];
    if (!normal.empty() && !normal.ends_with('\n')) normal += '\n';
    if (joined != normal) std::abort();

    if (lines.size() >= 2) {
        using lumetra::update::IsNewerVersion;
        const std::string& a = lines[0];
        const std::string& b = lines[1];
        if (IsNewerVersion(a, a)) std::abort();
        if (IsNewerVersion(a, b) && IsNewerVersion(b, a)) std::abort();
        if (a != b && !IsNewerVersion(a, b) && !IsNewerVersion(b, a)) std::abort();
    }
    return 0;
}
