#pragma once
// The ID3v2 tag at the start of an MP3 file. Some players refuse a file
// because of its tag; without it the same audio may play.

#include <filesystem>

namespace lumetra {

// Rewrites file without its ID3v2 tag; true when that succeeded (also when
// there was no tag). False when the file is no MPEG audio or cannot be written.
bool StripId3v2Tag(const std::filesystem::path& file);

}  // namespace lumetra
