#include "generator/ShowFolder.h"

#include "app/Application.h"
#include "app/Services.h"
#include "generator/FileCopy.h"
#include "generator/MusicFiles.h"
#include "generator/PictureBridge.h"
#include "generator/ShowDescription.h"
#include "generator/ShowNames.h"

namespace lumetra {

namespace fs = std::filesystem;

bool EnsureFolderFor(Application& app, const fs::path& file) {
    const fs::path folder = file.parent_path();
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) return true;
    fs::create_directories(folder, error);
    if (fs::is_directory(folder, error)) return true;
    app.Message(lang::messages::kCantCreateOutDir, mb::kWarning, {folder.string()});
    return false;
}

void AddTempFile(Project& project, const std::string& path) {
    project.TempFiles.push_back(recTempFiles{path});
}

void AddUploadItem(Project& project, const std::string& path, bool sync) {
    project.FTPItems.push_back(recFTPItems{path, sync});
}

std::string PlayerFileName(const std::string& outputFile) {
    return fs::path(AddressSafeFileName(fs::path(outputFile).filename().string()))
        .replace_extension(".js")
        .string();
}

namespace {

bool CopyOrReport(Application& app, const fs::path& from, const fs::path& to,
                  bool ownFile = false) {
    if (CopyFileReplacing(from, to, ownFile)) return true;
    app.Message(lang::messages::kCantCopyFile, mb::kWarning, {to.filename().string()});
    return false;
}

fs::path PlayerSource(Application& app) {
    return app.dataFolder() / "slideshow.js";
}

}  // namespace

void ConvertPreviewPictures(Application& app, const fs::path& folder, const BuildHooks& hooks) {
    const std::vector<std::string> names = SlideOutputNames(app.project.ImgItems);
    std::vector<fs::path> written;
    if (hooks.convert) {
        written = hooks.convert(app, folder, names, [&](std::size_t done) {
            if (hooks.pictureWritten) hooks.pictureWritten(done - 1);
            if (hooks.progress) hooks.progress(done);
        });
    } else {
        const std::vector<int> order = PlayOrder(app.project);
        written = ConvertShowPictures(app, folder, names, hooks,
                                      order.empty() ? 0 : std::size_t(order.front()));
    }
    for (const auto& path : written) AddTempFile(app.project, path.string());
}

bool CopyPreviewPlayerAndMusic(Application& app, const fs::path& folder) {
    const fs::path player = folder / PlayerFileName(app.project.Settings.OutputFile);
    if (!CopyOrReport(app, PlayerSource(app), player)) return false;
    fs::path music;
    return CopyShowMusic(app, folder, music);
}

namespace {

bool BuildOutputFolder(Application& app, const fs::path& folder) {
    Project& project = app.project;
    // TempFiles grows only through this copy's callers, but a copy keeps the loop safe anyway.
    const std::vector<recTempFiles> pictures = project.TempFiles;
    if (!pictures.empty() && !EnsureFolderFor(app, folder / "picture.jpg")) return false;
    for (const auto& picture : pictures) {
        const fs::path target = folder / fs::path(picture.FileName).filename();
        if (!CopyOrReport(app, picture.FileName, target, true)) return false;
        AddUploadItem(project, target.string(), true);
    }
    const fs::path player = folder / PlayerFileName(project.Settings.OutputFile);
    if (!EnsureFolderFor(app, player) || !CopyOrReport(app, PlayerSource(app), player))
        return false;
    AddUploadItem(project, player.string(), true);
    fs::path music;
    if (!CopyShowMusic(app, folder, music)) return false;
    if (!music.empty()) AddUploadItem(project, music.string(), true);
    return true;
}

}  // namespace

bool BuildShowFolder(Application& app, const fs::path& path, ShowMode mode,
                     const BuildHooks& hooks) {
    if (mode == ShowMode::Preview) {
        ConvertPreviewPictures(app, path.parent_path(), hooks);
        return CopyPreviewPlayerAndMusic(app, path.parent_path());
    }
    return BuildOutputFolder(app, path.parent_path() / DataFolderName(app));
}

}  // namespace lumetra
