#include "generator/MusicFiles.h"

#include <system_error>

#include "app/Application.h"
#include "app/FileOps.h"
#include "app/ReplaceFile.h"
#include "app/Services.h"
#include "generator/ShowNames.h"
#include "generator/XorScramble.h"

namespace lumetra {

namespace fs = std::filesystem;

namespace {

bool ReportCopyFailure(Application& app, const std::string& name) {
    app.Message(lang::messages::kCantCopyFile, mb::kWarning, {name});
    return false;
}

// The library file, unscrambled in memory and written in one piece, so a
// failure leaves no half-decoded file to play as noise.
void CopyLibraryMusic(const fs::path& source, const fs::path& destination) {
    std::string bytes = ReadWholeFile(source);
    XorScrambleBytes(kMusicKey, bytes.data(), bytes.size());
    ReplaceFileWith(destination, bytes);
}

}  // namespace

bool CopyShowMusic(Application& app, const fs::path& folder, fs::path& target) {
    const ShowSettings& settings = app.project.Settings;
    const std::string name = MusicOutputName(app.project);
    target.clear();
    if (name.empty()) return true;
    const fs::path destination = folder / name;
    if (settings.audioMode == AudioMode::OwnFile) {
        std::error_code error;
        if (!fs::is_regular_file(settings.AudioFile, error)) {
            app.Message(lang::messages::kAudioDoesntExist, mb::kError, {settings.AudioFile});
            return false;
        }
    }
    try {
        if (settings.audioMode == AudioMode::Library)
            CopyLibraryMusic(app.dataFolder() / "audio" / (settings.MusicTitle + ".ravoz"),
                             destination);
        else
            ReplaceFileWithCopy(settings.AudioFile, destination);
    } catch (const std::system_error&) {
        return ReportCopyFailure(app, name);
    }
    target = destination;
    return true;
}

}  // namespace lumetra
