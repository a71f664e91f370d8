#include "generator/CreateFlow.h"

#include <algorithm>
#include <numeric>

#include "app/Application.h"
#include "generator/PictureBridge.h"
#include "generator/ShowNames.h"

namespace lumetra {

namespace fs = std::filesystem;

void MeasureUnknownSizes(Project& project, const ImageSizeReader& measure) {
    for (recImgItems& slide : project.ImgItems) {
        if (slide.ImgWidth >= 1 && slide.ImgHeight >= 1) continue;
        int height = 0, width = 0;
        if (!measure(slide.FileName, height, width)) height = width = 0;
        slide.ImgHeight = height, slide.ImgWidth = width;
    }
}

void ComputeImageExtents(Project& project, const ImageSizeReader& measure) {
    if (project.ImgItems.empty()) return;
    MeasureUnknownSizes(project, measure);
    const recImgItems& first = project.ImgItems.front();
    project.MaxImgWidth = project.MinImgWidth = first.ImgWidth;
    project.MaxImgHeight = project.MinImgHeight = first.ImgHeight;
    for (const auto& slide : project.ImgItems) {
        project.MaxImgWidth = std::max(project.MaxImgWidth, slide.ImgWidth);
        project.MinImgWidth = std::min(project.MinImgWidth, slide.ImgWidth);
        project.MaxImgHeight = std::max(project.MaxImgHeight, slide.ImgHeight);
        project.MinImgHeight = std::min(project.MinImgHeight, slide.ImgHeight);
    }
}

void ShuffleSlideOrder(Project& project, const RandomInt& random) {
    // Fisher-Yates: the same uniform permutation as drawing until a new
    // index comes up, with a bounded number of draws.
    std::vector<int>& order = project.SlideOrder;
    order.resize(project.ImgItems.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = order.size(); i > 1; --i) {
        const int j = std::clamp(random(0, static_cast<int>(i) - 1), 0, static_cast<int>(i) - 1);
        std::swap(order[i - 1], order[j]);
    }
}

fs::path PreviewPagePath(const Project& project, const fs::path& tempFolder) {
    return tempFolder / fs::path(project.Settings.OutputFile).filename();
}

std::string PreviewPlayerAddress(const fs::path& previewPage) {
    fs::path player = previewPage;
    fs::path description = previewPage.filename();
    return player.replace_extension(".js").string() +
           "?xml_source=" + description.replace_extension(".xml").string();
}

bool BuildPreview(Application& app, const fs::path& tempFolder, const BuildHooks& hooks,
                  const PreviewPanel& panel, PlayerPlacement* placement, const RandomInt& random) {
    Project& project = app.project;
    if (project.Settings.RandomOrder) ShuffleSlideOrder(project, random);
    fs::create_directories(tempFolder);
    const fs::path page = PreviewPagePath(project, tempFolder);
    project.TempFiles.clear();
    const bool built =
        BuildShowFolder(app, page, ShowMode::Preview, hooks) &&
        WriteShowDocuments(app, page, ShowMode::Preview, "", panel, placement, random);
    std::error_code ignored;
    fs::remove(page, ignored);
    return built;
}

std::string CreatedOutputFile(const std::string& outputFile) {
    return (fs::path(outputFile).parent_path() / (SafeShowName(outputFile) + ".html")).string();
}

bool CreateShow(Application& app) {
    Project& project = app.project;
    const std::string renamed = CreatedOutputFile(project.Settings.OutputFile);
    if (renamed != project.Settings.OutputFile) {
        project.Settings.OutputFile = renamed;
        project.SetModified(true);
    }
    project.FTPItems.clear();
    return BuildShowFolder(app, renamed, ShowMode::Output) &&
           WriteShowDocuments(app, renamed, ShowMode::Output, "");
}

}  // namespace lumetra
