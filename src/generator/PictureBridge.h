#pragma once
// The picture pipeline as the show builder uses it.

#include <cstdint>

#include "app/Project.h"
#include "generator/ShowFolder.h"

namespace lumetra {

struct StageSize {
    std::int32_t W, H;
};

// The stage size of the show (GetShowSize of the picture pipeline).
StageSize ShowStageSize(const Project& project);

// ConvertSlideImages of the picture pipeline: all slides, on all cores.
SlideBatchConverter DefaultSlideConverter();

// The same with the build's hooks (progress, each written picture, waiting),
// slide first converted before the others.
std::vector<std::filesystem::path> ConvertShowPictures(Application& app,
                                                       const std::filesystem::path& folder,
                                                       const std::vector<std::string>& names,
                                                       const BuildHooks& hooks, std::size_t first);

// GetImageSize of the picture pipeline, for slides of newly added pictures.
ImageSizeReader PictureSizeReader();

}  // namespace lumetra
