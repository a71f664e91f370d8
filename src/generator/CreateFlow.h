#pragma once
// The steps of the create page that need no window: picture extents, random
// order, the preview build and Create. The window and lumetra-make run them
// in the same order.

#include <filesystem>
#include <string>
#include <vector>

#include "generator/PictureBridge.h"
#include "generator/ShowDocuments.h"
#include "generator/ShowFolder.h"
#include "generator/ShowRandom.h"

namespace lumetra {

class Application;
class Project;
struct ShowSettings;

// Slides whose stored size has a side below 1 (a damaged or hand-made
// project file) get the size measured from their picture instead.
void MeasureUnknownSizes(Project& project, const ImageSizeReader& measure);

// Largest and smallest width and height over all slides, each taken
// separately, after measuring the unknown sizes. Needs at least one slide
// (nothing changes without).
void ComputeImageExtents(Project& project, const ImageSizeReader& measure = PictureSizeReader());

// A new random order of the slide indices in SlideOrder.
void ShuffleSlideOrder(Project& project, const RandomInt& random = ShowRandom());

// The preview page in the temporary folder: the file name of OutputFile,
// address-safe (AddressSafeFileName).
std::filesystem::path PreviewPagePath(const Project& project,
                                      const std::filesystem::path& tempFolder);

// What the preview player loads for the preview page: its player copy with
// the description beside it as query (show.js?xml_source=show.xml).
std::string PreviewPlayerAddress(const std::filesystem::path& previewPage);

// The preview: a new random order when RandomOrder is on, TempFiles emptied,
// the player and the music copied and, if that succeeded, the description
// written (hooks.documentsWritten then), then the pictures converted, the
// first one the show plays first. The preview page path itself is removed
// again (the player is loaded from its .js and .xml). Returns whether the
// player, music and description are in place.
bool BuildPreview(Application& app, const std::filesystem::path& tempFolder,
                  const BuildHooks& hooks = {}, const PreviewPanel& panel = {},
                  PlayerPlacement* placement = nullptr, const RandomInt& random = ShowRandom());

// The question whether to fit large pictures is due: not declined since the
// last new project or start, fitting off, and a picture wider than 1024 or
// higher than 768 (the extents must be computed).
inline constexpr int kLargeImageWidth = 1024;
inline constexpr int kLargeImageHeight = 768;
bool LargeImageQuestionDue(const Project& project);
// Yes to that question: fitting on, to the fixed size 1024 x 768.
void FitToLargeImageBox(ShowSettings& settings);

// The page path of the save dialog: a name without an extension, or with the
// project extension the dialog adds to such a name, becomes a ".html" page.
std::string PagePathFromSaveDialog(const std::string& chosen);

// The page a window's field names: an empty field the default page in the
// documents folder, a relative path taken from the documents folder (a
// window has no working folder the user chose).
std::string AnchoredOutputFile(Application& app, const std::string& text);

// outputFile itself, unless its safe show name is empty (".html", a folder
// given as "out/"): then the default show name (GUI/DefaultShowName) + ".html"
// in its folder.
std::string UsableOutputFile(Application& app, const std::string& outputFile);

// OutputFile's folder + SafeShowName + ".html" (of UsableOutputFile).
std::string CreatedOutputFile(Application& app, const std::string& outputFile);

// The data folder of the show that Create writes for OutputFile.
std::filesystem::path CreatedDataFolder(Application& app);

struct CreateResult {
    bool created = false;
    // Sources whose picture could not be read (an empty file stands in for
    // it in the show), each once, in slide order.
    std::vector<std::string> unreadablePictures;
    explicit operator bool() const { return created; }
};

// Create: OutputFile renamed to the safe show name, FTPItems emptied, the
// show folder built from the last preview and its documents written. No new
// random order or effects are drawn: the show plays like the last preview.
CreateResult CreateShow(Application& app);

}  // namespace lumetra
