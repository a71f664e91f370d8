#pragma once
// The project: the slide list, the show-wide settings and the state around
// them, plus the lists that connect the steps of a show build. One Project
// object lives for the whole run and is owned by the Application.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumetra {

// One slide. Durations are milliseconds of whole seconds; colours 0x00BBGGRR.
struct recImgItems {
    std::string FileName;
    std::string Description;  // may hold line breaks
    std::int32_t FileSize = -1;
    std::string Title;
    std::int32_t ImgHeight = 0;
    std::int32_t ImgWidth = 0;
    std::int32_t EffectIn = 0;  // 0: a random effect is drawn at each build
    std::int32_t EffectOut = -1;
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 1;
    std::int32_t RandomEffect = 0;  // drawn by the last build; not stored
    std::int32_t Duration = 5000;
    std::int32_t TextColor = 0;
    std::string Link;

    bool operator==(const recImgItems&) const = default;
};

using ImgItemList = std::vector<recImgItems>;

// The three music buttons form one group; a project file may leave all of them
// off (NotSet), which the show builder treats like None.
enum class AudioMode { None, Library, OwnFile, NotSet };

// The initialisers are the values of a new project (NewProject adds only the
// music title and the output page, which depend on language and folders).
struct ShowSettings {
    AudioMode audioMode = AudioMode::None;
    std::string MusicTitle;
    std::string AudioFile;  // empty when none (the field then shows a hint text)
    bool AudioLoop = true;
    bool FitImages = false;
    std::int32_t FitMode = 0;  // 0 smallest, 1 largest picture, 2 FitWidth x FitHeight
    std::string FitWidth = "600";
    std::string FitHeight = "450";
    bool Trim = false;
    bool Loop = true;
    bool NavBar = true;
    bool BackgroundTransparent = false;
    std::int32_t BackgroundColor = 0xFFFFFF;
    bool RandomOrder = false;
    bool LinkTargetBlank = true;
    bool Autostart = true;
    std::string OutputFile;

    bool operator==(const ShowSettings&) const = default;
};

struct recTempFiles {
    std::string FileName;  // converted picture in the temporary folder
};

struct recFTPItems {
    std::string FileName;  // local path of a file of the last created show
    bool Sync = false;     // already on the server with the same size
};

// What the window shows of the project. The core tells it what changed; the
// window layer implements it, tests record it.
class ProjectView {
  public:
    virtual ~ProjectView() = default;
    virtual void slideRowsCleared() {}
    virtual void slideRowAppended(std::size_t /*index*/) {}
    virtual void firstSlideSelected() {}
    virtual void showSettingsChanged() {}
    virtual void titleChanged(const std::string& /*title*/) {}
    virtual void addHintShown(bool /*visible*/) {}
    virtual void modifiedChanged(bool /*modified*/) {}
};

class Project {
  public:
    ImgItemList ImgItems;
    ShowSettings Settings;

    std::string ProjectFileName;
    bool LargeImageHintDeclined = false;
    std::string WindowTitle;
    // Text the empty own-music field shows; it counts as empty where read.
    std::string AudioFileHint;

    // Lists that connect the steps of a run.
    std::vector<recTempFiles> TempFiles;
    std::vector<recFTPItems> FTPItems;
    std::vector<int> SlideOrder;

    // Largest and smallest picture sides over all slides, each taken separately.
    std::int32_t MaxImgWidth = 0, MaxImgHeight = 0, MinImgWidth = 0, MinImgHeight = 0;

    bool Modified() const { return modified_; }
    // Does nothing while Loading is set, so filling controls never counts as an edit.
    void SetModified(bool value);

    // Set while the program itself fills the project or the controls. Only a
    // LoadingScope sets it, and its end restores what was before, on every
    // way out: an exception can never leave it set.
    bool Loading() const { return loading_; }
    class LoadingScope {
      public:
        explicit LoadingScope(Project& project) : project_(project), before_(project.loading_) {
            project_.loading_ = true;
        }
        ~LoadingScope() { project_.loading_ = before_; }
        LoadingScope(const LoadingScope&) = delete;
        LoadingScope& operator=(const LoadingScope&) = delete;

      private:
        Project& project_;
        bool before_;
    };

    void setView(ProjectView* view) { view_ = view ? view : &noView_; }
    ProjectView& view() { return *view_; }
    void setWindowTitle(std::string title);

  private:
    bool modified_ = false;
    bool loading_ = false;
    ProjectView noView_;
    ProjectView* view_ = &noView_;
};

// Reads a picture's size; false when the measuring itself failed. The picture
// pipeline provides the real one.
using ImageSizeReader = std::function<bool(const std::string& path, int& height, int& width)>;

// A slide for a newly added picture with the defaults of the add commands.
// durationSeconds is the duration field's value.
recImgItems NewSlide(const std::string& path, double durationSeconds,
                     const ImageSizeReader& readSize);

// The rules that tie show settings together, wherever settings come from (a
// project file, the settings page, lumetra-make):
// - a show that does not start by itself always has its navigation bar;
// - the fitting sizes hold digits only and are never empty ("1" then).
void ApplySettingsRules(ShowSettings& settings);
// The navigation bar switch can be changed only while the show starts by itself.
bool NavBarEditable(const ShowSettings& settings);
// The digits of text in their order; "1" when there are none.
std::string FitSizeDigits(const std::string& text);

}  // namespace lumetra
