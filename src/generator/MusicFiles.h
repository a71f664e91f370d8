#pragma once
// The show's music file: library music decoded to plain MP3 as
// "lmtswfa.dat", or a copy of the user's own file (named by MusicOutputName).

#include <filesystem>

namespace lumetra {

class Application;

inline constexpr const char* kLibraryMusicFile = "lmtswfa.dat";

// Copies the music into folder. Reports its own problems (AudioDoesntExist
// for a missing own file, CantCopyFile when the copy or the decoding fails)
// and returns false then. target receives the written file, empty for none.
// A failed copy leaves whatever the folder held under that name before.
bool CopyShowMusic(Application& app, const std::filesystem::path& folder,
                   std::filesystem::path& target);

}  // namespace lumetra
