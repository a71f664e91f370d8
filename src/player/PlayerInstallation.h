#pragma once
// Whether the built-in player can run: the web view's helper process is
// installed and the player script is readable.

#include <filesystem>

namespace lumetra::player {

// The helper process that Qt WebEngine starts for every web view.
std::filesystem::path WebEngineProcessPath();

bool PlayerInstalled(const std::filesystem::path& dataFolder);

}  // namespace lumetra::player
