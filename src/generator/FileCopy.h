#pragma once
// File writing and copying for the show builds. Every file goes to a
// temporary name beside its target and is then renamed over it (ReplaceFile.h):
// a link or special file found in the show is replaced, never written
// through, and a failed write leaves the old file whole.

#include <filesystem>
#include <string_view>

namespace lumetra {

// Writes bytes to path, replacing the file. Throws std::system_error naming
// the path when it cannot be written completely.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// Copies from to to, replacing an existing file; false on any failure.
// ownFile: from is a file of the build's own (ReplaceFileWithOwnFile).
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       bool ownFile = false);

}  // namespace lumetra
