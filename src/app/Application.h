#pragma once
// The program's state for one run: services, settings, language, the music
// list and the project. The window layer and the headless tools each own one.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/Platform.h"
#include "app/Project.h"
#include "app/Settings.h"
#include "lang/LangKeys.h"
#include "lang/Language.h"
#include "lang/Messages.h"

namespace lumetra {

class Services;

class Application {
  public:
    Application(Services& services, std::filesystem::path programFolder,
                std::filesystem::path documentsFolder);
    // With the platform's program and documents folders.
    explicit Application(Services& services);

    Services& services;
    Settings settings;
    Language language;
    std::filesystem::path programFolder;
    std::filesystem::path documentsFolder;
    // Titles of the music library, as the music list shows them.
    std::vector<std::string> musicTitles;
    Project project;
    // Held from start-up until the program ends.
    std::unique_ptr<platform::InstanceMarker> instanceMarker;

    // Message box with the caption GUI/Title.
    int MsgBox(const std::string& text, int flags) {
        return lumetra::MsgBox(language, text, flags);
    }
    // A message from the language file with its placeholders filled (lang/Messages.h).
    int Message(const lang::LangKey& key, int flags,
                std::initializer_list<std::string_view> values = {}) {
        return ShowMessage(language, key, flags, values);
    }
    std::string GetLangString(const lang::LangKey& key) {
        return lang::GetLangString(language, key);
    }

    std::filesystem::path dataFolder() const { return programFolder / "data"; }
};

// Resets slide list, show settings and project state to the new-project values.
void NewProject(Application& app);

// Default output page: documents folder / GUI/DefaultDir / GUI/DefaultShowName ".html".
std::string DefaultOutputFile(Application& app);

// Title of the main window: "GUI/Title version" for a new project, or
// "path - GUI/Title version" once the project has a file.
std::string ProjectWindowTitle(Application& app, const std::string& projectFileName);

}  // namespace lumetra
