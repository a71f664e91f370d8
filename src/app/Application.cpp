#include "app/Application.h"

#include "app/MusicList.h"
#include "app/Platform.h"
#include "app/Version.h"

namespace lumetra {

Application::Application(Services& s, std::filesystem::path program,
                         std::filesystem::path documents)
    : services(s),
      language(settings, s, program),
      programFolder(std::move(program)),
      documentsFolder(std::move(documents)) {}

Application::Application(Services& s)
    : Application(s, platform::programFolder(), platform::documentsFolder()) {}

std::string DefaultOutputFile(Application& app) {
    std::string dir = app.GetLangString(lang::gui::kDefaultDir);
    std::string name = app.GetLangString(lang::gui::kDefaultShowName);
    return (app.documentsFolder / dir / (name + ".html")).string();
}

std::string ProjectWindowTitle(Application& app, const std::string& projectFileName) {
    std::string title = app.GetLangString(lang::gui::kTitle) + " " + ProgramVersion(true);
    return projectFileName.empty() ? title : projectFileName + " - " + title;
}

void NewProject(Application& app) {
    Project& p = app.project;
    p.SetModified(false);
    {
        Project::LoadingScope loading(p);
        p.LargeImageHintDeclined = false;

        p.ImgItems.clear();
        p.view().slideRowsCleared();

        // The hint text of the empty own-music field is the first lookup, which
        // also settles the language before the music title is chosen by it.
        p.AudioFileHint = app.GetLangString(lang::frmMain::kTxtAudio);
        // The defaults are the initialisers of ShowSettings; only what depends
        // on the language and the folders is filled in here.
        ShowSettings s;
        s.MusicTitle = DefaultMusicTitle(app.musicTitles, app.language.CurrentLanguage());
        s.OutputFile = DefaultOutputFile(app);
        p.Settings = s;
        p.view().showSettingsChanged();

        p.ProjectFileName.clear();
        p.setWindowTitle(ProjectWindowTitle(app, ""));
    }
    p.SetModified(false);
}

}  // namespace lumetra
