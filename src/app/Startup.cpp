#include "app/Startup.h"

#include "app/Application.h"
#include "app/MusicList.h"
#include "app/ProjectFile.h"

namespace lumetra {

void RunStartup(Application& app, const std::vector<std::string>& args,
                const std::function<void()>& translateMainWindow) {
    app.language.setApplicationTitle("Lumetra");
    app.instanceMarker = std::make_unique<platform::InstanceMarker>();
    app.settings.setSettingsFile(SetSettingsPath());
    app.musicTitles = FillMusicList(app.dataFolder() / "audio");
    NewProject(app);
    if (translateMainWindow) translateMainWindow();
    if (!args.empty() && !args.front().empty()) LoadProject(app, args.front());
}

}  // namespace lumetra
