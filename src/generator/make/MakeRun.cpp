#include "MakeRun.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <system_error>

#include "MakePublish.h"
#include "app/Application.h"
#include "app/Platform.h"
#include "app/ProjectFile.h"
#include "app/Services.h"
#include "generator/CreateFlow.h"
#include "generator/PictureBridge.h"

namespace lumetra::make {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

constexpr double kNewSlideSeconds = 5;

}  // namespace

std::vector<std::string> FolderPictures(const fs::path& folder) {
    std::vector<std::string> pictures;
    for (const char* extension : {".jpg", ".jpeg", ".png", ".bmp", ".gif"}) {
        std::vector<std::string> found;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_directory(error)) continue;
            if (Lower(it->path().extension().string()) == extension)
                found.push_back(it->path().string());
        }
        std::sort(found.begin(), found.end());
        pictures.insert(pictures.end(), found.begin(), found.end());
    }
    return pictures;
}

void NewProjectFromFolder(Application& app, const fs::path& folder) {
    NewProject(app);
    const ImageSizeReader readSize = PictureSizeReader();
    for (const std::string& path : FolderPictures(folder))
        app.project.ImgItems.push_back(NewSlide(path, kNewSlideSeconds, readSize));
}

bool CheckShowSources(Application& app) {
    Project& project = app.project;
    if (project.ImgItems.empty()) {
        app.Message(lang::messages::kNoImagesAdded, mb::kInformation);
        return false;
    }
    for (const auto& slide : project.ImgItems) {
        if (!platform::fileExists(slide.FileName)) {
            app.Message(lang::messages::kFileDoesntExist, mb::kError, {slide.FileName});
            return false;
        }
    }
    ShowSettings& settings = project.Settings;
    if (settings.audioMode == AudioMode::OwnFile) {
        if (settings.AudioFile.empty() || settings.AudioFile == project.AudioFileHint) {
            settings.audioMode = AudioMode::None;
        } else if (!platform::fileExists(settings.AudioFile)) {
            app.Message(lang::messages::kAudioDoesntExist, mb::kError, {settings.AudioFile});
            return false;
        }
    }
    return true;
}

namespace {

int LoadSource(Application& app, const MakeOptions& options) {
    std::error_code error;
    if (fs::is_directory(options.source, error)) {
        NewProjectFromFolder(app, options.source);
        return kExitOk;
    }
    try {
        if (LoadProject(app, options.source) != LoadResult::Loaded) return kExitProject;
    } catch (const std::exception& e) {
        app.MsgBox(e.what(), mb::kError);
        return kExitProject;
    }
    return kExitOk;
}

// One line per picture, or a bar redrawn in place on a terminal.
class Progress {
  public:
    Progress(std::ostream& out, bool bar, const Project& project)
        : out_(out), bar_(bar), project_(project) {}

    void operator()(std::size_t done) const {
        const std::size_t total = project_.ImgItems.size();
        if (done == 0 || done > total) return;
        if (!bar_) {
            const std::string name =
                fs::path(project_.ImgItems[done - 1].FileName).filename().string();
            out_ << "picture " << done << "/" << total << ": " << name << '\n';
            return;
        }
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = done * kWidth / total;
        out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
             << done << "/" << total << std::flush;
        if (done == total) out_ << '\n';
    }

  private:
    std::ostream& out_;
    bool bar_;
    const Project& project_;
};

}  // namespace

int RunMake(Application& app, const MakeOptions& options, std::ostream& out, std::ostream& progress,
            bool progressBar, const std::function<bool()>& problemsReported) {
    if (auto published = PublishBeforeBuild(app, options, out, progress, progressBar))
        return *published;
    if (const int loaded = LoadSource(app, options); loaded != kExitOk) return loaded;
    if (!CheckShowSources(app)) return kExitCheck;
    Project& project = app.project;
    if (options.seed) SeedShowRandom(*options.seed);
    if (!options.output.empty())
        project.Settings.OutputFile = fs::absolute(options.output).lexically_normal().string();
    else if (project.Settings.OutputFile.empty())
        project.Settings.OutputFile = DefaultOutputFile(app);  // a project saved without one

    ComputeImageExtents(project);
    BuildHooks hooks;
    hooks.progress = Progress(progress, progressBar, project);
    if (!BuildPreview(app, platform::instanceTempFolder(), hooks)) return kExitBuild;
    if (!CreateShow(app)) return kExitBuild;
    if (!options.saveProject.empty()) SaveProject(app, options.saveProject);
    if (problemsReported && problemsReported()) return kExitBuild;
    if (!options.publish.empty()) return PublishShow(app, options, out, progress, progressBar);
    out << project.Settings.OutputFile << '\n';
    return kExitOk;
}

}  // namespace lumetra::make
