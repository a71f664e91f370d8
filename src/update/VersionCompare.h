#pragma once
// Whether the version file offers a newer version than ours. The two compare
// as strings, byte by byte, and no numbers are parsed, the same rule as the
// project files' versions: "10.0" is older than "9.5" because "1" sorts
// before "9", and "3.0.1" is newer than "3.0" because a prefix is the smaller.

#include <string_view>

#include "app/Version.h"

namespace lumetra::update {

inline bool IsNewerVersion(std::string_view offered, std::string_view own) {
    return VersionOlderThan(own, offered);
}

}  // namespace lumetra::update
