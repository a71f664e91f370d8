#pragma once
// Command line of lumetra-make.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumetra::make {

struct MakeOptions {
    std::string output;  // --output PAGE.html
    std::optional<std::uint64_t> seed;
    std::string saveProject;  // --save-project FILE.lmx
    std::string music;        // --music FILE.mp3: the user's own music
    std::string source;       // PROJECT.lmx or PICTURE_FOLDER (or PAGE.html with --publish)
    std::string publish;      // --publish ftp[s]://user@host[:port]/folder
    std::string homepage;     // --homepage URL
    bool noSync = false;      // --no-sync
};

inline constexpr const char* kUsage =
    "usage: lumetra-make [--output PAGE.html] [--music FILE.mp3] [--seed N] "
    "[--save-project FILE.lmx] (PROJECT.lmx | PICTURE_FOLDER)\n"
    "       lumetra-make --publish ftp[s]://USER@HOST[:PORT]/FOLDER [--homepage URL] [--no-sync] "
    "[build options] (PROJECT.lmx | PICTURE_FOLDER | PAGE.html)\n";

// The options, or the reason they are not usable in error.
std::optional<MakeOptions> ParseMakeOptions(const std::vector<std::string>& args,
                                            std::string& error);

}  // namespace lumetra::make
