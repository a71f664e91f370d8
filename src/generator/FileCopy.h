#pragma once
// File writing and copying for the show builds.

#include <filesystem>
#include <string_view>

namespace lumetra {

// Writes bytes to path in one go, replacing the file. Throws
// std::system_error naming the path when it cannot be written completely.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// Copies from to to, replacing an existing file; false on any failure.
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace lumetra
