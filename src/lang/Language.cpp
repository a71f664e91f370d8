#include "lang/Language.h"

#include "app/IniFile.h"
#include "app/Services.h"
#include "app/Settings.h"
#include "lang/LangKeys.h"

namespace lumetra {

Language::Language(const Settings& settings, Services& services,
                   std::filesystem::path programFolder)
    : settings_(settings), services_(services), programFolder_(std::move(programFolder)) {}

std::filesystem::path Language::languageFile() const {
    return programFolder_ / "lng" / (current_ + ".lng");
}

std::string Language::GetLangString(const std::string& section, const std::string& key) {
    if (current_.empty()) {
        // Exact spelling only; anything else leaves the language unknown, and
        // the next lookup asks the settings file again.
        std::string wanted = settings_.read(settings::kLanguage);
        if (wanted == "Deutsch" || wanted == "English") current_ = wanted;
    }
    const auto file = languageFile();
    std::string text = ini::readString(file, section, key, "");
    if (text.empty()) {
        services_.messageBox("Dod ERR at " + key, appTitle_, 0);
        text = ini::readString(file, section, key, "");
    }
    return text;
}

int MsgBox(Language& language, const std::string& text, int flags) {
    std::string caption = lang::GetLangString(language, lang::gui::kTitle);
    return language.services().messageBox(text, caption, flags);
}

}  // namespace lumetra
