#pragma once
// The settings page's music preview: a title of the music library or the
// person's own MP3 file, played through Services.
// - A library title is scrambled, so it plays from a descrambled copy.
// - An own file that does not play is tried once more as a copy without its
//   ID3v2 tag; when that fails too, a fixed message says so.
// Copies are "LMT" temporary files in the user's temporary folder.
// Services::playAudio returns only once the player has the file open (or has
// given up), so a copy is deleted right after it; a copy that cannot be
// deleted then stays listed and goes with the preview (closing the window).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lumetra {

class Application;

// The one text of the program that is not taken from the language file.
inline constexpr const char* kAudioNotPlayable =
    "Die gewählte Audiodatei kann nicht abgespielt werden.";

// An own file larger than this is not copied for a second attempt: the copy
// would stall the window and may not fit the temporary folder.
inline constexpr std::uintmax_t kMaxRetryCopySize = std::uintmax_t(256) << 20;

class MusicPreview {
  public:
    explicit MusicPreview(Application& app);
    ~MusicPreview();
    MusicPreview(const MusicPreview&) = delete;
    MusicPreview& operator=(const MusicPreview&) = delete;

    // data/audio/<title>.ravoz beside the program.
    std::filesystem::path libraryFile(const std::string& title) const;

    // Plays a library file from a descrambled copy. False, after the
    // not-playable message, when it cannot be played.
    bool PlayLibraryTrack(const std::filesystem::path& path);

    // Plays an own MP3 file, else a copy without its ID3v2 tag. False, after
    // the not-playable message, when neither plays. Only regular files are
    // tried: a pipe would block the player while it opens it.
    bool PlayOwnFile(const std::filesystem::path& path);

    void stop();

    // Deletes the copies still there; those that cannot be deleted stay listed.
    void removeLeftovers();
    const std::vector<std::filesystem::path>& leftovers() const { return leftovers_; }

  private:
    struct Copy {
        std::filesystem::path name;  // the empty file that reserves the name
        std::filesystem::path mp3;   // name + ".mp3", the file that plays
    };
    Copy newCopy();
    void removeCopy(const Copy& copy);
    bool playCopy(const Copy& copy);
    bool refuse();

    Application& app_;
    std::vector<std::filesystem::path> leftovers_;
};

}  // namespace lumetra
