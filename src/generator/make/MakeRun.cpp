#include "MakeRun.h"

#include <sys/stat.h>

#include <iostream>
#include <system_error>

#include "MakePublish.h"
#include "app/Application.h"
#include "app/Platform.h"
#include "app/ProjectFile.h"
#include "app/Services.h"
#include "app/SlideList.h"
#include "app/StopRequest.h"
#include "generator/CreateFlow.h"
#include "generator/PictureBridge.h"
#include "generator/ShowLock.h"
#include "generator/ShowSources.h"
#include "generator/picture/Decoders.h"

namespace lumetra::make {

namespace fs = std::filesystem;

namespace {

constexpr double kNewSlideSeconds = 5;

int LoadSource(Application& app, const MakeOptions& options) {
    std::error_code error;
    if (fs::is_directory(options.source, error)) {
        NewProjectFromFolder(app, options.source, PictureSizeReader(), kNewSlideSeconds);
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
        // Each line goes out in one write: stderr is unbuffered, and a show
        // of thousands of slides would spend more on writes than on pictures.
        std::string line;
        if (!bar_) {
            line = "picture " + std::to_string(done) + "/" + std::to_string(total) + ": " +
                   fs::path(project_.ImgItems[done - 1].FileName).filename().string() + "\n";
        } else {
            constexpr std::size_t kWidth = 30;
            const std::size_t filled = done * kWidth / total;
            line = "\r[" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] " +
                   std::to_string(done) + "/" + std::to_string(total) + (done == total ? "\n" : "");
        }
        out_.write(line.data(), std::streamsize(line.size())).flush();
    }

  private:
    std::ostream& out_;
    bool bar_;
    const Project& project_;
};

}  // namespace

std::string CheckSaveTarget(const std::string& path) {
    if (path.empty()) return "";
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return "";
    // Saving replaces the file by its new content: a device, a pipe or a
    // folder there is no project file to replace.
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return "";
    return "--save-project: " + path + " is not a regular file";
}

namespace {

// Pictures of a type that is not read at all get no message of their own
// while the show is built; each is named once here.
void NameUnreadableTypes(const std::vector<std::string>& unreadable, std::ostream& progress) {
    for (const std::string& source : unreadable)
        if (FormatOfPath(source) == PictureFormat::Unsupported)
            progress << "lumetra-make: " << source
                     << ": not a picture type Lumetra reads (JPEG, PNG, BMP, GIF, TIFF); the show "
                        "holds an empty picture for it\n";
}

}  // namespace

int RunMake(Application& app, const MakeOptions& options, std::ostream& out, std::ostream& progress,
            bool progressBar, const std::function<bool()>& problemsReported) {
    if (auto published = PublishBeforeBuild(app, options, out, progress, progressBar))
        return *published;
    if (const int loaded = LoadSource(app, options); loaded != kExitOk) return loaded;
    Project& project = app.project;
    if (!options.music.empty()) {
        project.Settings.audioMode = AudioMode::OwnFile;
        project.Settings.AudioFile = fs::absolute(options.music).lexically_normal().string();
    }
    if (!ReportShowSources(app, CheckShowSources(app.project))) return kExitCheck;
    if (options.seed) SeedShowRandom(*options.seed);
    if (!options.output.empty()) {
        const std::string output = fs::absolute(options.output).lexically_normal().string();
        project.Settings.OutputFile = UsableOutputFile(app, output);
    } else if (project.Settings.OutputFile.empty()) {
        project.Settings.OutputFile = DefaultOutputFile(app);  // a project saved without one
    }

    const ShowLock lock = ShowLock::Acquire(CreatedDataFolder(app), [&] {
        progress << "lumetra-make: waiting for another build of this show to finish\n"
                 << std::flush;
    });
    ComputeImageExtents(project);
    BuildHooks hooks;
    hooks.progress = Progress(progress, progressBar, project);
    if (!BuildPreview(app, platform::instanceTempFolder(), hooks)) return kExitBuild;
    const CreateResult created = CreateShow(app);
    if (!created) return kExitBuild;
    if (!options.saveProject.empty()) SaveProject(app, options.saveProject);
    NameUnreadableTypes(created.unreadablePictures, progress);
    if (!created.unreadablePictures.empty()) return kExitBuild;
    if (problemsReported && problemsReported()) return kExitBuild;
    if (!options.publish.empty()) return PublishShow(app, options, out, progress, progressBar);
    // Printed only while no stop signal can end the run any more.
    const auto end = LockRunEnd();
    if (StopSignal() != 0) EndForStopSignal();
    out << project.Settings.OutputFile << '\n' << std::flush;
    return kExitOk;
}

}  // namespace lumetra::make
