#pragma once
// The music library files are MP3 data scrambled with a repeating XOR key, so
// the same call turns a library file into playable MP3 and back.

#include <filesystem>
#include <string_view>

namespace lumetra {

// Key every library file in data/audio is scrambled with.
inline constexpr std::string_view kMusicKey = "OpenDefaultPathName";

// XORs byte k of the file with key[k % key.size()], in place. The file is held
// under an exclusive lock meanwhile. False when the key is empty or the file
// cannot be opened, locked, read or written; a failed write may leave the file
// partly converted.
bool XorScrambleFile(std::string_view key, const std::filesystem::path& file);

// The same with the music library key.
bool XorScrambleFile(const std::filesystem::path& file);

// XORs bytes held in memory the same way; `offset` is the position of data[0]
// in the file, so a file can be done block by block.
void XorScrambleBytes(std::string_view key, char* data, std::size_t size, std::size_t offset = 0);

}  // namespace lumetra
