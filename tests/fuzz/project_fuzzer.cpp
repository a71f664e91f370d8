// Feeds arbitrary bytes to the project-file reader: it must never crash, hang
// or allocate beyond the input, and must always end with Loading cleared.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Application.h"
#include "app/ProjectFile.h"
#include "app/Services.h"

namespace {

class SilentServices : public lumetra::Services {
  public:
    int messageBox(const std::string&, const std::string&, int) override {
        return lumetra::mb::IDOK;
    }
    std::vector<std::string> openFiles(const lumetra::FileDialogRequest&, bool) override {
        return {};
    }
    std::optional<std::string> saveFile(const lumetra::FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return {};
    }
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return {}; }
    bool openUrl(const std::string&) override { return false; }
    void setClipboardText(const std::string&) override {}
    void beep() override {}
    bool playAudio(const std::string&) override { return false; }
    void stopAudio() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentServices services;
    static lumetra::Application app(services, "/nonexistent-program", "/nonexistent-docs");
    static bool init = [] {
        app.musicTitles = {"America the Beautiful", "Bossa 08 Medit L1", "Happy"};
        return true;
    }();
    (void)init;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto result = lumetra::LoadProjectData(app, "fuzz.lmx", bytes);
    if (app.project.Loading()) std::abort();
    if (result == lumetra::LoadResult::Loaded) {
        // What was read must write back and read again to the same project.
        std::string again = lumetra::SerializeProject(app);
        auto slides = app.project.ImgItems;
        auto settings = app.project.Settings;
        if (lumetra::LoadProjectData(app, "fuzz.lmx", again) != lumetra::LoadResult::Loaded)
            std::abort();
        if (app.project.ImgItems != slides || !(app.project.Settings == settings)) std::abort();
    }
    return 0;
}
