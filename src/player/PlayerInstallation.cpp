#include "player/PlayerInstallation.h"

#include "player/WebContent.h"

#include <unistd.h>

#include <QLibraryInfo>
#include <QString>
#include <cstdlib>
#include <string>

#include "app/Platform.h"

namespace lumetra::player {

namespace fs = std::filesystem;

fs::path WebEngineProcessPath() {
    // The same override Qt WebEngine itself honours.
    if (const char* own = std::getenv("QTWEBENGINEPROCESS_PATH"); own && *own) return own;
    const QString folder = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath);
    return fs::path(folder.toStdString()) / "QtWebEngineProcess";
}

// Chromium ends the whole process when it runs as root with its sandbox on;
// then the built-in player counts as missing instead.
bool sandboxRefusesUs() {
    if (::geteuid() != 0) return false;
    const char* disabled = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
    const char* flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
    return !(disabled && *disabled && std::string(disabled) != "0") &&
           !(flags && std::string(flags).find("--no-sandbox") != std::string::npos);
}

bool PlayerInstalled(const fs::path& dataFolder) {
    if (sandboxRefusesUs()) return false;
    const fs::path module = platform::moduleFile(kWebPlayerModule);
    std::error_code missing;
    if (!fs::is_regular_file(module, missing)) return false;
    const fs::path process = WebEngineProcessPath();
    const fs::path script = dataFolder / "slideshow.js";
    std::error_code ec;
    return fs::is_regular_file(process, ec) && ::access(process.c_str(), X_OK) == 0 &&
           fs::is_regular_file(script, ec) && ::access(script.c_str(), R_OK) == 0;
}

}  // namespace lumetra::player
