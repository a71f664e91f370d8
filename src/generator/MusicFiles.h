#pragma once
// The show's music file: library music decoded to plain MP3 as
// "lmtswfa.dat", or a copy of the user's own file under its own name.

#include <filesystem>
#include <string>

#include "app/Project.h"

namespace lumetra {

class Application;

inline constexpr const char* kLibraryMusicFile = "lmtswfa.dat";

// The music file's name in a show; empty when the show has no music (None,
// NotSet, or own music without a file name).
std::string MusicFileName(const ShowSettings& settings);

// Copies the music into folder. Reports its own problems (AudioDoesntExist
// for a missing own file, CantCopyFile when the copy or the decoding fails)
// and returns false then. target receives the written file, empty for none.
bool CopyShowMusic(Application& app, const std::filesystem::path& folder,
                   std::filesystem::path& target);

}  // namespace lumetra
