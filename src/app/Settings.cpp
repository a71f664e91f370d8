#include "app/Settings.h"

#include <iomanip>
#include <locale>
#include <sstream>
#include <system_error>

#include "app/IniFile.h"
#include "app/Platform.h"

namespace lumetra {

namespace fs = std::filesystem;

std::string Settings::read(const settings::StringKey& key) const {
    return ini::readString(file_, key.section, key.name, key.defaultValue);
}

std::string Settings::read(const settings::StringKey& key, const std::string& defaultValue) const {
    return ini::readString(file_, key.section, key.name, defaultValue);
}

int Settings::read(const settings::IntKey& key) const {
    return ini::readInt(file_, key.section, key.name, key.defaultValue);
}

bool Settings::read(const settings::BoolKey& key) const {
    return ini::readBool(file_, key.section, key.name, key.defaultValue);
}

void Settings::write(const settings::StringKey& key, const std::string& value) const {
    ini::writeString(file_, key.section, key.name, value);
}

void Settings::write(const settings::IntKey& key, int value) const {
    ini::writeInt(file_, key.section, key.name, value);
}

void Settings::write(const settings::BoolKey& key, bool value) const {
    ini::writeBool(file_, key.section, key.name, value);
}

void Settings::writeDateTime(const settings::StringKey& key, std::time_t when) const {
    write(key, FormatLocalDateTime(when));
}

std::string FormatLocalDateTime(std::time_t when) {
    std::ostringstream out;
    try {
        out.imbue(std::locale(""));
    } catch (const std::runtime_error&) {
        // An unknown locale in the environment: keep the classic one.
    }
    std::tm local{};
    localtime_r(&when, &local);
    out << std::put_time(&local, "%x %X");
    return out.str();
}

fs::path SetSettingsPath(const fs::path& appData, const fs::path& commonAppData) {
    const fs::path german = fs::path("Orvand") / "Lumetra" / "Settings.ini";
    const fs::path english = fs::path("Tesmor") / "Lumetra" / "Settings.ini";

    if (platform::fileExists(appData / english)) return appData / english;
    if (platform::fileExists(appData / german)) return appData / german;
    for (const fs::path& variant : {german, english}) {
        if (!platform::fileExists(commonAppData / variant)) continue;
        // The all-users file is the template every new user starts from; a
        // failed copy is not reported and the path is used all the same.
        std::error_code ec;
        fs::create_directories((appData / variant).parent_path(), ec);
        if (fs::copy_file(commonAppData / variant, appData / variant,
                          fs::copy_options::skip_existing, ec))
            fs::permissions(appData / variant, fs::perms::owner_read | fs::perms::owner_write, ec);
        return appData / variant;
    }
    return appData / english;
}

fs::path SetSettingsPath() {
    return SetSettingsPath(platform::userConfigFolder(), platform::commonConfigFolder());
}

}  // namespace lumetra
