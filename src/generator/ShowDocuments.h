#pragma once
// Writing a show's documents: the description, and for a created show the page.

#include <filesystem>
#include <string>

#include "generator/PreviewPlayer.h"
#include "generator/ShowFolder.h"
#include "generator/ShowRandom.h"

namespace lumetra {

class Application;

struct PreviewPanel {
    int width = kPreviewPanelWidth;
    int height = kPreviewPanelHeight;
};

// Preview: places the preview player for the show size (placement, when
// given, receives where) and writes path with ".xml" sized to the player.
// Output: writes the description into the data folder and the page, both
// recorded in FTPItems; urlPrefix is empty for a create, the public base
// address of the upload for the publishing wizard. Reports its own problems
// and returns false; write and template errors throw.
bool WriteShowDocuments(Application& app, const std::filesystem::path& path, ShowMode mode,
                        const std::string& urlPrefix = "", const PreviewPanel& panel = {},
                        PlayerPlacement* placement = nullptr,
                        const RandomInt& random = ShowRandom());

}  // namespace lumetra
