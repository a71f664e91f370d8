// The create page's steps without a window: extents, random order, the
// preview player's place, preview and create playing alike, the demonstration.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "ShowFixture.h"
#include "generator/CreateFlow.h"
#include "generator/EffectDemo.h"
#include "generator/PreviewPlayer.h"
#include "generator/ShowDescription.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class CreateFlowTest : public test::ShowFixture {};

TEST_F(CreateFlowTest, ExtentsTakeEachSideSeparately) {
    addSlide("/a.jpg", 1, 800, 600);
    addSlide("/b.jpg", 1, 640, 900);
    addSlide("/c.jpg", 1, 1024, 100);
    ComputeImageExtents(app.project);
    const Project& p = app.project;
    EXPECT_EQ(std::vector<int>({p.MaxImgWidth, p.MaxImgHeight, p.MinImgWidth, p.MinImgHeight}),
              std::vector<int>({1024, 900, 640, 100}));
}

TEST_F(CreateFlowTest, ShuffleIsAPermutationAndRepeatsWithTheSeed) {
    for (int i = 0; i < 40; ++i) addSlide("/p" + std::to_string(i) + ".jpg");
    SeedShowRandom(1234);
    ShuffleSlideOrder(app.project);
    const std::vector<int> first = app.project.SlideOrder;
    std::vector<int> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> identity(40);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_EQ(sorted, identity);
    EXPECT_NE(first, identity);
    SeedShowRandom(1234);
    ShuffleSlideOrder(app.project);
    EXPECT_EQ(app.project.SlideOrder, first);
    // A source that answers out of range cannot break the permutation.
    ShuffleSlideOrder(app.project, [](int, int) { return 99; });
    sorted = app.project.SlideOrder;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, identity);
}

TEST(PreviewPlayer, Placement) {
    struct {
        int w, h;
        PlayerPlacement placed;
    } rows[] = {
        {800, 600, {61, 1, 459, 344}},   {1200, 300, {1, 100, 579, 145}},
        {400, 400, {118, 1, 345, 344}},  {640, 344, {1, 17, 579, 312}},
        {300, 200, {140, 73, 300, 200}}, {579, 344, {1, 1, 579, 344}},
        {0, 0, {290, 173, 0, 0}},        {1158, 688, {0, 1, 580, 344}},
    };
    for (const auto& r : rows) EXPECT_EQ(FitPreviewPlayer(r.w, r.h), r.placed) << r.w << "x" << r.h;
}

TEST_F(CreateFlowTest, StaleSlideOrderFallsBackToListOrder) {
    addSlide("/a.jpg");
    addSlide("/b.jpg");
    app.project.Settings.RandomOrder = true;
    for (auto order : std::vector<std::vector<int>>{{1, 0}, {0}, {1, 1}, {0, 2}, {}}) {
        app.project.SlideOrder = order;
        const bool valid = order == std::vector<int>{1, 0};
        EXPECT_EQ(PlayOrder(app.project), valid ? order : std::vector<int>({0, 1}));
    }
}

TEST_F(CreateFlowTest, CreatedShowPlaysLikeThePreview) {
    dir.write("program/data/slideshow.js", "player");
    dir.write("program/data/template.html", "%SHOW_XML%");
    dir.write("program/data/swfembed.html", "");
    for (int i = 0; i < 6; ++i) addSlide((dir / ("in/p" + std::to_string(i) + ".jpg")).string(), 0);
    app.project.Settings.RandomOrder = true;
    app.project.Settings.OutputFile = (dir / "out/show.html").string();
    ComputeImageExtents(app.project);
    BuildHooks hooks;
    hooks.convert = [&](Application&, const fs::path& folder, const std::vector<std::string>& names,
                        const std::function<void(std::size_t)>&) {
        std::vector<fs::path> written;
        for (const auto& name : names) written.push_back(dir.write(folder / name, name));
        return written;
    };
    SeedShowRandom(99);
    ASSERT_TRUE(BuildPreview(app, dir / "tmp", hooks));
    EXPECT_EQ(PreviewPlayerAddress(dir / "tmp/show.html"),
              (dir / "tmp/show.js").string() + "?xml_source=show.xml");
    const std::vector<int> order = app.project.SlideOrder;
    ASSERT_TRUE(CreateShow(app));
    EXPECT_EQ(app.project.SlideOrder, order);
    // Same picture order and effects; only the addresses gain the data folder.
    const auto slides = [](const std::string& xml) {
        auto doc = test::ParseXml(xml);
        std::vector<std::string> seen;
        for (xmlNode* s : test::Children(xmlDocGetRootElement(doc.get()), "slide")) {
            std::string url = test::Attr(test::Child(s, "image"), "url");
            url = url.substr(url.rfind('/') + 1);
            xmlNode* t = test::Child(s, "transition");
            seen.push_back(url + " " + test::Attr(t, "type") + " " + test::Attr(t, "stack"));
        }
        return seen;
    };
    const auto preview = slides(dir.read("tmp/show.xml"));
    EXPECT_EQ(preview.size(), 6u + std::count_if(preview.begin(), preview.end(), [](auto& s) {
                                  return s.find("none true") != std::string::npos;
                              }));
    EXPECT_EQ(preview, slides(dir.read("out/show_files/show.xml")));
    EXPECT_EQ(dir.read("out/show.html"),
              dir.read("out/show_files/show.xml").substr(3));  // without the byte-order mark
}

// The preview names its player and description after the page as typed, but
// never with a character that would end the address early.
TEST_F(CreateFlowTest, PreviewNamesStayOneAddress) {
    dir.write("program/data/slideshow.js", "player");
    addSlide((dir / "in/p.jpg").string(), 0);
    app.project.Settings.OutputFile = (dir / "out/Trip #1? 100%.html").string();
    ComputeImageExtents(app.project, [](const std::string&, int& h, int& w) { return h = w = 9; });
    BuildHooks hooks;
    hooks.convert = [&](Application&, const fs::path& folder, const std::vector<std::string>& names,
                        const std::function<void(std::size_t)>&) {
        return std::vector<fs::path>{dir.write(folder / names[0], "jpeg")};
    };
    ASSERT_TRUE(BuildPreview(app, dir / "tmp", hooks));
    const fs::path page = PreviewPagePath(app.project, dir / "tmp");
    EXPECT_EQ(page, dir / "tmp/Trip -1- 100-.html");
    EXPECT_EQ(PreviewPlayerAddress(page),
              (dir / "tmp/Trip -1- 100-.js").string() + "?xml_source=Trip -1- 100-.xml");
    EXPECT_EQ(dir.read("tmp/Trip -1- 100-.js"), "player");
    EXPECT_TRUE(fs::exists(dir / "tmp/Trip -1- 100-.xml"));
}

TEST_F(CreateFlowTest, EffectDemonstration) {
    dir.write("program/data/slideshow.js", "player");
    dir.write("program/data/gui/desert.jpg", "desert");
    dir.write("program/data/gui/beach.jpg", "beach");
    test::QueuedRandom random({37});
    const std::string address = WriteEffectDemo(app, dir / "tmp", 0, false, random.source());
    EXPECT_EQ(address, (dir / "tmp/preview.js").string() + "?xml_source=preview.xml&x=0");
    EXPECT_EQ(dir.read("tmp/preview.js"), "player");
    EXPECT_EQ(dir.read("tmp/beach.jpg"), "beach");
    EXPECT_EQ(dir.read("tmp/preview.xml"),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<slideshow>"
              "<slide purge=\"false\"><transition type=\"none\"/>"
              "<image url=\"beach.jpg\" duration=\"0\"/></slide>"
              "<slide purge=\"false\"><motion duration=\"1\" start_zoom=\"1\" "
              "start_rotation=\"-360\"/><transition duration=\"1\" type=\"dissolve\"/>"
              "<image url=\"desert.jpg\"/><navigation next=\"1\"/></slide></slideshow>\n");
    EXPECT_EQ(WriteEffectDemo(app, dir / "tmp", 5, true),
              (dir / "tmp/preview.js").string() + "?xml_source=preview.xml&x=-1");
    EXPECT_NE(dir.read("tmp/preview.xml").find("<image url=\"desert.jpg\" duration=\"0\"/>"),
              std::string::npos);
}

}  // namespace
}  // namespace lumetra
