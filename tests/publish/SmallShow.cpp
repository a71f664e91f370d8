#include "SmallShow.h"

#include "app/Application.h"
#include "generator/CreateFlow.h"
#include "support/TestFolder.h"

namespace lumetra::test {

namespace fs = std::filesystem;

bool MakeSmallShow(Application& app, const TestFolder& dir, const fs::path& showFolder,
                   const std::map<std::string, std::string>& pictures) {
    for (const auto& [name, bytes] : pictures) {
        recImgItems slide;
        slide.FileName = (dir / "pictures" / name).string();
        slide.EffectIn = 2;
        slide.ImgWidth = 320;
        slide.ImgHeight = 240;
        app.project.ImgItems.push_back(slide);
    }
    ShowSettings& settings = app.project.Settings;
    settings.OutputFile = (showFolder / "Trip.html").string();
    settings.audioMode = AudioMode::OwnFile;
    settings.AudioFile = dir.write("music/song.mp3", std::string(3000, 'm')).string();
    ComputeImageExtents(app.project);
    BuildHooks hooks;
    hooks.convert = [&](Application&, const fs::path& folder, const std::vector<std::string>& names,
                        const std::function<void(std::size_t)>&) {
        std::vector<fs::path> written;
        auto source = pictures.begin();
        for (const auto& name : names)
            written.push_back(dir.write(folder / name, (source++)->second));
        return written;
    };
    return BuildPreview(app, dir / "preview", hooks) && CreateShow(app);
}

}  // namespace lumetra::test
