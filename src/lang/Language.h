#pragma once
// Texts of the user interface, looked up by section and key in
// lng/<CurrentLanguage>.lng beside the program. Nothing is cached: each lookup
// reads the file, so a corrected file takes effect at once.

#include <filesystem>
#include <string>

namespace lumetra {

class Services;
class Settings;

class Language {
  public:
    Language(const Settings& settings, Services& services, std::filesystem::path programFolder);

    // "Deutsch", "English", or empty while not yet known.
    const std::string& CurrentLanguage() const { return current_; }
    // Fixes the language for the rest of the run (used when a window is
    // translated with an explicit language).
    void setCurrentLanguage(std::string language) { current_ = std::move(language); }

    // The text of key in section; empty when missing (after telling the user
    // "Dod ERR at <key>" in a plain message box). At most 2047 characters.
    std::string GetLangString(const std::string& section, const std::string& key);

    // Caption of plain message boxes: "Lumetra" until the main window is translated.
    const std::string& applicationTitle() const { return appTitle_; }
    void setApplicationTitle(std::string title) { appTitle_ = std::move(title); }

    const std::filesystem::path& programFolder() const { return programFolder_; }
    std::filesystem::path languageFile() const;

    Services& services() { return services_; }
    const Settings& settings() const { return settings_; }

  private:
    const Settings& settings_;
    Services& services_;
    std::filesystem::path programFolder_;
    std::string current_;
    std::string appTitle_ = "Lumetra";
};

// Modal message box with the caption GUI/Title; returns the button pressed.
int MsgBox(Language& language, const std::string& text, int flags);

}  // namespace lumetra
