#include "MakeRun.h"

#include <iostream>
#include <system_error>

#include "app/Application.h"
#include "app/Platform.h"
#include "app/ProjectFile.h"
#include "app/Services.h"
#include "app/SlideList.h"
#include "generator/CreateFlow.h"
#include "generator/PictureBridge.h"
#include "generator/ShowSources.h"

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
    if (const int loaded = LoadSource(app, options); loaded != kExitOk) return loaded;
    if (!ReportShowSources(app, CheckShowSources(app.project))) return kExitCheck;
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
    out << project.Settings.OutputFile << '\n';
    return kExitOk;
}

}  // namespace lumetra::make
