#pragma once
// The two show folders: the preview in this instance's temporary folder and
// the created show beside its web page.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lumetra {

class Application;
class Project;

enum class ShowMode { Preview, Output };

// Converts every slide's picture into folder under its name and returns the
// written paths in slide order, calling progress with the number of slides done.
using SlideBatchConverter = std::function<std::vector<std::filesystem::path>(
    Application&, const std::filesystem::path& folder, const std::vector<std::string>& names,
    const std::function<void(std::size_t)>& progress)>;

struct BuildHooks {
    // Empty: the picture pipeline's conversion.
    SlideBatchConverter convert;
    // Called with the number of converted slides after each one (the
    // please-wait bar, event processing).
    std::function<void(std::size_t done)> progress;
    // A slide's picture is whole in the preview folder, as soon as it is (a
    // converter of its own reports each slide with its progress).
    std::function<void(std::size_t slide)> pictureWritten;
    // Called while the build waits for its workers: every few milliseconds,
    // or, with wake, as often as it returns (see ConversionHooks).
    std::function<void()> waiting;
    std::function<void()> wake;
    // The preview's player, music and description are in place, before its
    // pictures (BuildPreview).
    std::function<void()> documentsWritten;
};

// Makes sure the folder of file exists; shows Messages/CantCreateOutDir as a
// warning and returns false when it cannot be created.
bool EnsureFolderFor(Application& app, const std::filesystem::path& file);

void AddTempFile(Project& project, const std::string& path);
void AddUploadItem(Project& project, const std::string& path, bool sync);

// Preview: path is the preview page in the temporary folder; the pictures are
// converted beside it (TempFiles), with the player and the music.
// Output: path is OutputFile; the prepared pictures, the player and the music
// are copied into the data folder and recorded in FTPItems.
// Reports its own problems and returns false; write errors of the conversion
// propagate as exceptions.
bool BuildShowFolder(Application& app, const std::filesystem::path& path, ShowMode mode,
                     const BuildHooks& hooks = {});

// The two halves of the preview folder, for a preview that plays while its
// pictures are converted: the player copy and the music (reports its own
// problems, false then), and the pictures (TempFiles), the one the show
// plays first converted before the others.
bool CopyPreviewPlayerAndMusic(Application& app, const std::filesystem::path& folder);
void ConvertPreviewPictures(Application& app, const std::filesystem::path& folder,
                            const BuildHooks& hooks);

// The player's name in a show: the page's name with ".js", address-safe (the
// preview keeps the page's name as it was typed).
std::string PlayerFileName(const std::string& outputFile);

}  // namespace lumetra
