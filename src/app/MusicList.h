#pragma once
// The music library: one scrambled MP3 per title in data/audio/<title>.ravoz.

#include <filesystem>
#include <string>
#include <vector>

namespace lumetra {

// Titles of the library files in folder (exact extension ".ravoz", letter case
// counts), sorted without regard to case.
std::vector<std::string> FillMusicList(const std::filesystem::path& folder);

// The list entry equal to title without regard to case, or empty.
std::string FindMusicTitle(const std::vector<std::string>& titles, const std::string& title);

// "America the Beautiful" for English, else "Bossa 08 Medit L1"; the first
// title when the list lacks it; empty for an empty list.
std::string DefaultMusicTitle(const std::vector<std::string>& titles, const std::string& language);

inline constexpr const char* kEnglishDefaultMusic = "America the Beautiful";
inline constexpr const char* kGermanDefaultMusic = "Bossa 08 Medit L1";
inline constexpr const char* kOldDefaultMusic = "Happy";

}  // namespace lumetra
