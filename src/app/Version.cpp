#include "app/Version.h"

#include "app/Platform.h"

namespace lumetra {

VersionNumber ProgramVersionNumber() {
    return {LUMETRA_VERSION_MAJOR, LUMETRA_VERSION_MINOR, LUMETRA_VERSION_PATCH,
            LUMETRA_VERSION_TWEAK};
}

std::string FormatVersion(const VersionNumber& v, bool shortForm) {
    std::string s =
        std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.release);
    if (!shortForm) s += "." + std::to_string(v.build);
    if (s.size() >= 7 && s.compare(3, 4, ".0.0") == 0)
        s.resize(s.size() - 4);
    else if (s.size() >= 2 && s.compare(s.size() - 2, 2, ".0") == 0)
        s.resize(s.size() - 2);
    return s;
}

std::string GetVersionString(const std::filesystem::path& file, bool shortForm) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && std::filesystem::equivalent(file, self, ec) && !ec)
        return FormatVersion(ProgramVersionNumber(), shortForm);
    return "0";
}

std::string ProgramVersion(bool shortForm) {
    return FormatVersion(ProgramVersionNumber(), shortForm);
}

}  // namespace lumetra
