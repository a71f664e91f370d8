#pragma once
// The program's version and the string order in which project files compare them.

#include <filesystem>
#include <string>
#include <string_view>

namespace lumetra {

struct VersionNumber {
    unsigned major, minor, release, build;
};

// The version compiled into this program (3.3.1.37).
VersionNumber ProgramVersionNumber();

// Formats a version: full form with four numbers, short form with three; then
// ".0.0" from the 4th character on removes the last four characters, else a
// trailing ".0" is removed.
std::string FormatVersion(const VersionNumber& v, bool shortForm);

// Version of a program file: this program's own executable gives its compiled-in
// version, any other file "0".
std::string GetVersionString(const std::filesystem::path& file, bool shortForm);

// The short version of this program ("3.3.1").
std::string ProgramVersion(bool shortForm = true);

// Versions compare as strings, byte by byte; a prefix is smaller.
// So "3.10" < "3.3" < "3.3.1".
inline bool VersionOlderThan(std::string_view version, std::string_view than) {
    return version < than;
}

}  // namespace lumetra
