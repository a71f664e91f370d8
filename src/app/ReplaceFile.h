#pragma once
// Writing a file by replacing it: the new content goes into a temporary file
// beside the target, which is then renamed over the target's name. Whatever
// stood there before (a symbolic link, a device, another program's file) is
// replaced, never written through, and a write that fails halfway (a full
// disk, a signal) leaves the old file whole.

#include <filesystem>
#include <string_view>

namespace lumetra {

// Replaces path with bytes. New files get the usual permissions (0666 less the
// umask); a regular file that is replaced keeps its own. Throws
// std::system_error naming path on any failure, with nothing left beside it.
void ReplaceFileWith(const std::filesystem::path& path, std::string_view bytes);

// Replaces to with a copy of the regular file from (a pipe or device there is
// refused with EINVAL instead of being read). Throws like ReplaceFileWith.
void ReplaceFileWithCopy(const std::filesystem::path& from, const std::filesystem::path& to);

// The same for a file of our own that nobody writes to any more (a picture
// prepared in the temporary folder): on the same file system the new name is
// a second link to it, which costs no copying; elsewhere it is copied.
void ReplaceFileWithOwnFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace lumetra
