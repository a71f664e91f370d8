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
    bool help = false;        // --help: print the usage, nothing else
    bool version = false;     // --version: print the version, nothing else
};

inline constexpr const char* kUsage =
    "usage: lumetra-make [--output PAGE.html] [--music FILE.mp3] [--seed N] "
    "[--save-project FILE.lmx] (PROJECT.lmx | PICTURE_FOLDER)\n"
    "       lumetra-make --publish ftp[s]://USER@HOST[:PORT]/FOLDER [--homepage URL] [--no-sync] "
    "[build options] (PROJECT.lmx | PICTURE_FOLDER | PAGE.html)\n"
    "       lumetra-make --help | --version\n";

// What --help adds to the usage.
inline constexpr const char* kHelp =
    "\nBuilds the slideshow of a project file, or of a folder's pictures, as the\n"
    "window's Create does, and prints the page's path; with --publish it then sends\n"
    "the show to the FTP server (the password from LUMETRA_FTP_PASSWORD, ~/.netrc\n"
    "or the terminal). See lumetra-make(1).\n";

// The options, or the reason they are not usable in error. The first of
// --help, --version or a wrong option decides.
std::optional<MakeOptions> ParseMakeOptions(const std::vector<std::string>& args,
                                            std::string& error);

}  // namespace lumetra::make
