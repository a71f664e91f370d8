#include "generator/MusicFiles.h"

#include "app/Application.h"
#include "app/Services.h"
#include "generator/FileCopy.h"
#include "generator/XorScramble.h"

namespace lumetra {

namespace fs = std::filesystem;

std::string MusicFileName(const ShowSettings& settings) {
    switch (settings.audioMode) {
        case AudioMode::Library:
            return kLibraryMusicFile;
        case AudioMode::OwnFile:
            return fs::path(settings.AudioFile).filename().string();
        default:
            return "";
    }
}

namespace {

bool ReportCopyFailure(Application& app, const std::string& name) {
    app.Message(lang::messages::kCantCopyFile, mb::kWarning, {name});
    return false;
}

}  // namespace

bool CopyShowMusic(Application& app, const fs::path& folder, fs::path& target) {
    const ShowSettings& settings = app.project.Settings;
    const std::string name = MusicFileName(settings);
    target.clear();
    if (name.empty()) return true;
    const fs::path destination = folder / name;
    if (settings.audioMode == AudioMode::Library) {
        const fs::path source = app.dataFolder() / "audio" / (settings.MusicTitle + ".ravoz");
        // A failed copy must not leave an older file to be "decoded" into noise.
        if (!CopyFileReplacing(source, destination) || !XorScrambleFile(destination)) {
            std::error_code ignored;
            fs::remove(destination, ignored);
            return ReportCopyFailure(app, name);
        }
    } else {
        std::error_code error;
        if (!fs::is_regular_file(settings.AudioFile, error)) {
            app.Message(lang::messages::kAudioDoesntExist, mb::kError, {settings.AudioFile});
            return false;
        }
        if (!CopyFileReplacing(settings.AudioFile, destination))
            return ReportCopyFailure(app, name);
    }
    target = destination;
    return true;
}

}  // namespace lumetra
