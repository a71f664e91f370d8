#pragma once
// The small show "Trip" that the publishing tests upload: the pictures
// (name → bytes, written by a stand-in for the conversion), the player and a
// music file of its own, created in showFolder as the create page does.

#include <filesystem>
#include <map>
#include <string>

namespace lumetra {
class Application;
}

namespace lumetra::test {

class TestFolder;

// False when the preview or Create failed.
bool MakeSmallShow(Application& app, const TestFolder& dir, const std::filesystem::path& showFolder,
                   const std::map<std::string, std::string>& pictures);

}  // namespace lumetra::test
