// The create page's rules that need no window: the large-picture question,
// the page name from the save dialog, and a preview whose documents come
// before its pictures.

#include <gtest/gtest.h>

#include "ShowFixture.h"
#include "generator/CreateFlow.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class CreatePageRulesTest : public test::ShowFixture {};

TEST_F(CreatePageRulesTest, LargeImageQuestion) {
    struct {
        int width, height;
        bool fitting, declined, asked;
    } rows[] = {
        {1025, 100, false, false, true},  {1024, 768, false, false, false},
        {800, 769, false, false, true},   {1600, 1200, true, false, false},
        {1600, 1200, false, true, false},
    };
    for (const auto& r : rows) {
        app.project.ImgItems.clear();
        addSlide("/a.jpg", 1, 640, 480);
        addSlide("/b.jpg", 1, r.width, r.height);
        app.project.Settings.FitImages = r.fitting;
        app.project.LargeImageHintDeclined = r.declined;
        ComputeImageExtents(app.project);
        EXPECT_EQ(LargeImageQuestionDue(app.project), r.asked) << r.width << "x" << r.height;
    }
    ShowSettings& s = app.project.Settings;
    s.FitMode = 0;
    FitToLargeImageBox(s);
    EXPECT_TRUE(s.FitImages);
    EXPECT_EQ(s.FitMode, 2);
    EXPECT_EQ(s.FitWidth + "x" + s.FitHeight, "1024x768");
}

TEST(CreatePageRules, PagePathFromSaveDialog) {
    const std::pair<const char*, const char*> rows[] = {
        {"/shows/Trip", "/shows/Trip.html"},
        {"/shows/Trip.lmx", "/shows/Trip.html"},  // the dialog's default extension
        {"/shows/Trip.LMX", "/shows/Trip.html"},
        {"/shows/Trip.htm", "/shows/Trip.htm"},
        {"/shows/Trip.html", "/shows/Trip.html"},
        {"/shows/Trip 2010.summer", "/shows/Trip 2010.summer"},
    };
    for (const auto& [chosen, page] : rows) EXPECT_EQ(PagePathFromSaveDialog(chosen), page);
}

TEST_F(CreatePageRulesTest, AnEmptyOrRelativePageLandsInTheDocumentsFolder) {
    const fs::path docs = app.documentsFolder;
    const std::pair<std::string, fs::path> rows[] = {
        {"", docs / "Shows/show.html"},
        {"trip.html", docs / "trip.html"},
        {"a/../b/trip.html", docs / "b/trip.html"},
        {"/srv/trip.html", "/srv/trip.html"},
    };
    for (const auto& [text, page] : rows) EXPECT_EQ(AnchoredOutputFile(app, text), page.string());
}

TEST_F(CreatePageRulesTest, PreviewDocumentsComeBeforeItsPictures) {
    dir.write("program/data/slideshow.js", "player");
    for (int i = 0; i < 4; ++i) addSlide((dir / ("in/p" + std::to_string(i) + ".jpg")).string());
    app.project.Settings.RandomOrder = true;
    app.project.Settings.OutputFile = (dir / "out/show.html").string();
    ComputeImageExtents(app.project);
    std::vector<std::string> events;
    BuildHooks hooks;
    hooks.convert = [&](Application&, const fs::path& folder, const std::vector<std::string>& names,
                        const std::function<void(std::size_t)>& progress) {
        std::vector<fs::path> written;
        for (const auto& name : names) {
            written.push_back(dir.write(folder / name, name));
            progress(written.size());
        }
        return written;
    };
    hooks.documentsWritten = [&] {
        events.push_back("documents");
        EXPECT_TRUE(fs::exists(dir / "tmp/show.js"));
        EXPECT_TRUE(fs::exists(dir / "tmp/show.xml"));
        EXPECT_FALSE(fs::exists(dir / "tmp/p0.jpg"));
    };
    hooks.pictureWritten = [&](std::size_t slide) { events.push_back(std::to_string(slide)); };
    ASSERT_TRUE(BuildPreview(app, dir / "tmp", hooks));
    EXPECT_EQ(events, (std::vector<std::string>{"documents", "0", "1", "2", "3"}));
    EXPECT_EQ(app.project.TempFiles.size(), 4u);
    EXPECT_FALSE(fs::exists(dir / "tmp/show.html"));
}

// Without its player the preview has no description, but its pictures are
// still prepared (the window then plays what there is).
TEST_F(CreatePageRulesTest, PreviewWithoutPlayerPreparesThePicturesAndFails) {
    addSlide((dir / "in/p0.jpg").string());
    app.project.Settings.OutputFile = (dir / "out/show.html").string();
    ComputeImageExtents(app.project);
    bool documents = false;
    BuildHooks hooks;
    hooks.convert = [&](Application&, const fs::path& folder, const std::vector<std::string>& names,
                        const std::function<void(std::size_t)>&) {
        return std::vector<fs::path>{dir.write(folder / names[0], "jpeg")};
    };
    hooks.documentsWritten = [&] { documents = true; };
    EXPECT_FALSE(BuildPreview(app, dir / "tmp", hooks));
    EXPECT_FALSE(documents);
    EXPECT_FALSE(fs::exists(dir / "tmp/show.xml"));
    EXPECT_EQ(app.project.TempFiles.size(), 1u);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "Cannot copy show.js");
}

}  // namespace
}  // namespace lumetra
