#pragma once
// The size of the show and of each slide's picture, and the conversion of the
// slide pictures into the show's JPEG files.
//
// Degenerate sizes are guarded: every side that comes out of these functions
// lies in 1 .. 65500 (the largest a JPEG can hold). FitWidth and FitHeight
// are read as digit strings; "0" or nothing gives 1, anything too large
// 65500. A slide without a measured size (0 x 0) is fitted to the whole box.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lumetra {

class Language;
class MemoryBudget;
class Project;

struct ShowSize {
    std::int32_t W, H;
};

// The stage of the show, from FitImages/FitMode/FitWidth/FitHeight and the
// picture extents (which must have been computed for the current slides).
ShowSize GetShowSize(const Project& project);

// The size of slide `slide`'s JPEG.
std::int32_t TargetWidth(const Project& project, std::size_t slide);
std::int32_t TargetHeight(const Project& project, std::size_t slide);

// Converts slide `slide` into folder/outputName (outputName is chosen by the caller, e.g.
// "Holiday.jpg"), replacing an existing file (never writing through a link there). A picture
// that cannot be decoded: Messages/ImgErr (error box, %1% = path), an empty file is written, the
// path is still returned. An unsupported file type also gives an empty file, without a message.
// So does a slide whose picture would be larger than any picture may be. Write errors throw
// std::system_error.
std::filesystem::path ConvertSlideImage(const Project& project, Language& language,
                                        std::size_t slide, const std::filesystem::path& folder,
                                        const std::string& outputName);

// What the caller of ConvertSlideImages hears while the workers convert,
// always on its own thread. An exception thrown by one of these ends the
// conversion: the workers finish their current slide and it propagates.
struct ConversionHooks {
    // The number of slides done, in slide order (with the messages of each slide).
    std::function<void(std::size_t done)> progress;
    // A slide's file is whole in the folder: as soon as it is, in the order
    // the workers finish (before progress reaches it).
    std::function<void(std::size_t slide)> written;
    // Called while the caller waits for a worker, so a window can paint
    // meanwhile: at least every kConversionWaitingMs, or, with wake, as often
    // as it returns (it may block, an event loop waiting for its next event).
    std::function<void()> waiting;
    // Called on a worker thread whenever a slide is done, to end a waiting
    // that blocks (an event loop's wake-up; it must be safe on any thread).
    std::function<void()> wake;
    // The slide converted before all others (the first one a show plays).
    std::size_t first = 0;
};
inline constexpr int kConversionWaitingMs = 20;

// All slides, converted in parallel on all cores the process may use, the decoding of all of
// them together within one memory budget (kConversionBudgetBytes unless one is given);
// progress(done) with the number of slides done and any messages are delivered on the caller's
// thread in slide order, and the first write error is thrown there. When two slides share an
// output name the later one's picture is the one left in the file. A stop signal ends it with
// StopRequested.
std::vector<std::filesystem::path> ConvertSlideImages(
    const Project& project, Language& language, const std::filesystem::path& folder,
    const std::vector<std::string>& outputNames,
    const std::function<void(std::size_t done)>& progress, MemoryBudget* budget = nullptr);
// The same, with every hook.
std::vector<std::filesystem::path> ConvertSlideImagesWith(
    const Project& project, Language& language, const std::filesystem::path& folder,
    const std::vector<std::string>& outputNames, const ConversionHooks& hooks,
    MemoryBudget* budget = nullptr);

// Output name of a source file by the plain rule: file name with its extension replaced by ".jpg".
std::string PlainOutputName(const std::string& sourcePath);

}  // namespace lumetra
