#include "generator/MusicPreview.h"

#include <algorithm>
#include <system_error>

#include "app/Application.h"
#include "app/Platform.h"
#include "app/Services.h"
#include "generator/FileCopy.h"
#include "generator/Id3v2Tag.h"
#include "generator/XorScramble.h"

namespace lumetra {

namespace fs = std::filesystem;

MusicPreview::MusicPreview(Application& app) : app_(app) {}

MusicPreview::~MusicPreview() {
    removeLeftovers();
}

fs::path MusicPreview::libraryFile(const std::string& title) const {
    return app_.dataFolder() / "audio" / (title + ".ravoz");
}

MusicPreview::Copy MusicPreview::newCopy() {
    Copy copy;
    copy.name = platform::makeTempFile(platform::userTempFolder(), "LMT");
    copy.mp3 = copy.name;
    copy.mp3 += ".mp3";
    // Listed before anything is written, so no way out leaves them unlisted.
    leftovers_.push_back(copy.name);
    leftovers_.push_back(copy.mp3);
    return copy;
}

void MusicPreview::removeCopy(const Copy& copy) {
    for (const fs::path& file : {copy.name, copy.mp3}) {
        std::error_code ec;
        fs::remove(file, ec);
        if (!ec) std::erase(leftovers_, file);
    }
}

void MusicPreview::removeLeftovers() {
    std::vector<fs::path> kept;
    for (const fs::path& file : leftovers_) {
        std::error_code ec;
        fs::remove(file, ec);
        if (ec) kept.push_back(file);
    }
    leftovers_ = std::move(kept);
}

bool MusicPreview::playCopy(const Copy& copy) {
    // The player has the file open once playAudio returns; the name can go.
    const bool playing = app_.services.playAudio(copy.mp3.string());
    removeCopy(copy);
    return playing;
}

bool MusicPreview::refuse() {
    app_.MsgBox(kAudioNotPlayable, mb::kError);
    return false;
}

bool MusicPreview::PlayLibraryTrack(const fs::path& path) {
    const Copy copy = newCopy();
    if (!CopyFileReplacing(path, copy.mp3) || !XorScrambleFile(copy.mp3)) {
        removeCopy(copy);
        return refuse();
    }
    return playCopy(copy) || refuse();
}

bool MusicPreview::PlayOwnFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return refuse();
    if (app_.services.playAudio(path.string())) return true;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxRetryCopySize) return refuse();
    const Copy copy = newCopy();
    if (!CopyFileReplacing(path, copy.mp3) || !StripId3v2Tag(copy.mp3)) {
        removeCopy(copy);
        return refuse();
    }
    return playCopy(copy) || refuse();
}

void MusicPreview::stop() {
    app_.services.stopAudio();
}

}  // namespace lumetra
