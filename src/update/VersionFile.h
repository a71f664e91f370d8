#pragma once
// The version file on our web server: where it is, how large it may be, and
// its lines. Its first line is the newest version; further lines are ignored.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::update {

// A version file is a few bytes; anything larger is not one.
inline constexpr std::size_t kMaxVersionFileSize = 64 * 1024;

// LUMETRA_UPDATE_URL when it is set and not empty (for tests against a local
// server), else our host's "/version.dat".
std::string VersionFileAddress();

// Lines end in CR LF or LF; a CR elsewhere belongs to its line. A last line
// ending adds no empty line, so an empty body has no line at all.
std::vector<std::string> SplitLines(std::string_view body);

}  // namespace lumetra::update
