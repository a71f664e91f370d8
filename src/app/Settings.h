#pragma once
// Access to Settings.ini. Each call opens the file, reads or writes one key and
// closes it again, so several windows and instances always see the disk state.

#include <ctime>
#include <filesystem>
#include <string>

#include "app/SettingsKeys.h"

namespace lumetra {

class Settings {
  public:
    Settings() = default;
    explicit Settings(std::filesystem::path file) : file_(std::move(file)) {}

    // SettingsFile: empty until SetSettingsPath ran.
    const std::filesystem::path& SettingsFile() const { return file_; }
    void setSettingsFile(std::filesystem::path file) { file_ = std::move(file); }

    std::string read(const settings::StringKey& key) const;
    std::string read(const settings::StringKey& key, const std::string& defaultValue) const;
    int read(const settings::IntKey& key) const;
    bool read(const settings::BoolKey& key) const;

    // Throw ini::WriteError naming the file when it cannot be written.
    void write(const settings::StringKey& key, const std::string& value) const;
    void write(const settings::IntKey& key, int value) const;
    void write(const settings::BoolKey& key, bool value) const;
    // Date and time in the user's locale (short date, long time).
    void writeDateTime(const settings::StringKey& key, std::time_t when) const;

  private:
    std::filesystem::path file_;
};

// "date time" as the user's locale writes them.
std::string FormatLocalDateTime(std::time_t when);

// Chooses Settings.ini under APPDATA (copying the all-users template on first
// use) and returns its path; see SetSettingsPath in the design notes.
std::filesystem::path SetSettingsPath(const std::filesystem::path& appData,
                                      const std::filesystem::path& commonAppData);

// The same with the platform's folders.
std::filesystem::path SetSettingsPath();

}  // namespace lumetra
