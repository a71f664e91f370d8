#include "player/PlayerInstallation.h"

#include <unistd.h>

#include <QLibraryInfo>
#include <QString>
#include <cstdlib>

namespace lumetra::player {

namespace fs = std::filesystem;

fs::path WebEngineProcessPath() {
    // The same override Qt WebEngine itself honours.
    if (const char* own = std::getenv("QTWEBENGINEPROCESS_PATH"); own && *own) return own;
    const QString folder = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath);
    return fs::path(folder.toStdString()) / "QtWebEngineProcess";
}

bool PlayerInstalled(const fs::path& dataFolder) {
    const fs::path process = WebEngineProcessPath();
    const fs::path script = dataFolder / "slideshow.js";
    std::error_code ec;
    return fs::is_regular_file(process, ec) && ::access(process.c_str(), X_OK) == 0 &&
           fs::is_regular_file(script, ec) && ::access(script.c_str(), R_OK) == 0;
}

}  // namespace lumetra::player
