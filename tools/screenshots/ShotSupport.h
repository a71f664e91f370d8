#pragma once
// What every screenshot tool needs: letting the window work for a while, and
// a settings file of its own that chooses the language.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace lumetra::shots {

// Lets events run for ms milliseconds or until done.
inline void waitFor(int ms, const std::function<bool()>& done = {}) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !(done && done()))
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A settings file in <temp>/<name>-<language> that chooses the language
// (plus extra lines of section Main), made the program's through
// XDG_CONFIG_HOME. Returns that folder.
inline std::filesystem::path UseOwnSettings(const std::string& name, const std::string& language,
                                            const std::string& extra = "") {
    const std::filesystem::path config =
        std::filesystem::temp_directory_path() / (name + "-" + language);
    std::filesystem::create_directories(config / "Tesmor" / "Lumetra");
    std::ofstream(config / "Tesmor" / "Lumetra" / "Settings.ini")
        << "[Main]\nLanguage=" << language << "\n"
        << extra;
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    return config;
}

}  // namespace lumetra::shots
