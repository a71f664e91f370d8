#include "generator/CreateFlow.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <unordered_set>

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
    // Player and description are addressed by this name: it must stay one.
    return tempFolder /
           AddressSafeFileName(fs::path(project.Settings.OutputFile).filename().string());
}

std::string PreviewPlayerAddress(const fs::path& previewPage) {
    fs::path player = previewPage;
    fs::path description = previewPage.filename();
    return player.replace_extension(".js").string() +
           "?xml_source=" + description.replace_extension(".xml").string();
}

namespace {

// OutputFile made usable, the project marked changed when that changed it.
void UseUsableOutputFile(Application& app, const std::string& outputFile) {
    Project& project = app.project;
    if (outputFile == project.Settings.OutputFile) return;
    project.Settings.OutputFile = outputFile;
    project.SetModified(true);
}

}  // namespace

bool BuildPreview(Application& app, const fs::path& tempFolder, const BuildHooks& hooks,
                  const PreviewPanel& panel, PlayerPlacement* placement, const RandomInt& random) {
    Project& project = app.project;
    UseUsableOutputFile(app, UsableOutputFile(app, project.Settings.OutputFile));
    if (project.Settings.RandomOrder) ShuffleSlideOrder(project, random);
    fs::create_directories(tempFolder);
    const fs::path page = PreviewPagePath(project, tempFolder);
    project.TempFiles.clear();
    // Player, music and description need no picture, so they come first and
    // the preview can play while its pictures are converted. Nothing drawn at
    // random depends on the pictures: the show is the same either way.
    const bool built =
        CopyPreviewPlayerAndMusic(app, tempFolder) &&
        WriteShowDocuments(app, page, ShowMode::Preview, "", panel, placement, random);
    if (built && hooks.documentsWritten) hooks.documentsWritten();
    ConvertPreviewPictures(app, tempFolder, hooks);
    std::error_code ignored;
    fs::remove(page, ignored);
    return built;
}

bool LargeImageQuestionDue(const Project& project) {
    return !project.LargeImageHintDeclined && !project.Settings.FitImages &&
           (project.MaxImgWidth > kLargeImageWidth || project.MaxImgHeight > kLargeImageHeight);
}

void FitToLargeImageBox(ShowSettings& settings) {
    settings.FitImages = true;
    settings.FitMode = 2;
    settings.FitWidth = std::to_string(kLargeImageWidth);
    settings.FitHeight = std::to_string(kLargeImageHeight);
}

std::string PagePathFromSaveDialog(const std::string& chosen) {
    // The dialog adds the project extension to a name typed without one;
    // a page of that name would be no web page.
    fs::path page = chosen;
    std::string extension = page.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (extension.empty() || extension == ".lmx") page.replace_extension(".html");
    return page.string();
}

std::string AnchoredOutputFile(Application& app, const std::string& text) {
    if (text.empty()) return DefaultOutputFile(app);
    const fs::path page = text;
    return page.is_absolute() ? text : (app.documentsFolder / page).lexically_normal().string();
}

std::string UsableOutputFile(Application& app, const std::string& outputFile) {
    if (!SafeShowName(outputFile).empty()) return outputFile;
    // A path ending in "/" names a folder: the show goes into it.
    const fs::path folder = !outputFile.empty() && outputFile.back() == '/'
                                ? fs::path(outputFile)
                                : fs::path(outputFile).parent_path();
    return (folder / (app.GetLangString(lang::gui::kDefaultShowName) + ".html"))
        .lexically_normal()
        .string();
}

std::string CreatedOutputFile(Application& app, const std::string& outputFile) {
    const std::string usable = UsableOutputFile(app, outputFile);
    return (fs::path(usable).parent_path() / (SafeShowName(usable) + ".html")).string();
}

fs::path CreatedDataFolder(Application& app) {
    const fs::path page = CreatedOutputFile(app, app.project.Settings.OutputFile);
    return page.parent_path() /
           (SafeShowName(page.string()) + app.GetLangString(lang::gui::kDataDirName));
}

namespace {

// The slides whose prepared picture is empty: the preview could not read them.
std::vector<std::string> UnreadablePictures(const Project& project) {
    std::vector<std::string> unreadable;
    std::unordered_set<std::string> named;
    const std::size_t count = std::min(project.TempFiles.size(), project.ImgItems.size());
    for (std::size_t i = 0; i < count; ++i) {
        std::error_code error;
        if (fs::file_size(project.TempFiles[i].FileName, error) != 0 || error) continue;
        const std::string& source = project.ImgItems[i].FileName;
        if (named.insert(source).second) unreadable.push_back(source);
    }
    return unreadable;
}

}  // namespace

CreateResult CreateShow(Application& app) {
    Project& project = app.project;
    UseUsableOutputFile(app, CreatedOutputFile(app, project.Settings.OutputFile));
    const std::string page = project.Settings.OutputFile;
    project.FTPItems.clear();
    CreateResult result;
    result.unreadablePictures = UnreadablePictures(project);
    result.created = BuildShowFolder(app, page, ShowMode::Output) &&
                     WriteShowDocuments(app, page, ShowMode::Output, "");
    return result;
}

}  // namespace lumetra
