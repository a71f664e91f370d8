#include "generator/PictureBridge.h"

#include "app/Application.h"
#include "generator/picture/ImagePreparation.h"
#include "generator/picture/Picture.h"

namespace lumetra {

StageSize ShowStageSize(const Project& project) {
    const ShowSize size = GetShowSize(project);
    return {size.W, size.H};
}

SlideBatchConverter DefaultSlideConverter() {
    return [](Application& app, const std::filesystem::path& folder,
              const std::vector<std::string>& names,
              const std::function<void(std::size_t)>& progress) {
        return ConvertSlideImages(app.project, app.language, folder, names, progress);
    };
}

std::vector<std::filesystem::path> ConvertShowPictures(Application& app,
                                                       const std::filesystem::path& folder,
                                                       const std::vector<std::string>& names,
                                                       const BuildHooks& hooks, std::size_t first) {
    ConversionHooks conversion;
    conversion.progress = hooks.progress;
    conversion.written = hooks.pictureWritten;
    conversion.waiting = hooks.waiting;
    conversion.wake = hooks.wake;
    conversion.first = first;
    return ConvertSlideImagesWith(app.project, app.language, folder, names, conversion);
}

ImageSizeReader PictureSizeReader() {
    return [](const std::string& path, int& height, int& width) {
        return GetImageSize(path, height, width);
    };
}

}  // namespace lumetra
