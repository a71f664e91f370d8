#include <gtest/gtest.h>

#include "app/Project.h"
#include "generator/picture/ImagePreparation.h"

namespace lumetra {
namespace {

struct Slide {
    int w, h;
};

Project MakeProject(std::vector<Slide> slides, bool fit, int mode, std::string fw = "600",
                    std::string fh = "450") {
    Project p;
    for (const Slide& s : slides) {
        recImgItems item;
        item.ImgWidth = s.w;
        item.ImgHeight = s.h;
        p.ImgItems.push_back(item);
    }
    // The extents as the preview build computes them, each side separately.
    p.MaxImgWidth = p.MinImgWidth = slides[0].w;
    p.MaxImgHeight = p.MinImgHeight = slides[0].h;
    for (const Slide& s : slides) {
        p.MaxImgWidth = std::max(p.MaxImgWidth, s.w), p.MinImgWidth = std::min(p.MinImgWidth, s.w);
        p.MaxImgHeight = std::max(p.MaxImgHeight, s.h);
        p.MinImgHeight = std::min(p.MinImgHeight, s.h);
    }
    p.Settings.FitImages = fit;
    p.Settings.FitMode = mode;
    p.Settings.FitWidth = std::move(fw);
    p.Settings.FitHeight = std::move(fh);
    return p;
}

struct SizeCase {
    const char* name;
    std::vector<Slide> slides;
    bool fit;
    int mode;
    std::string fitWidth, fitHeight;
    ShowSize show;
    std::vector<Slide> targets;
};

class ShowSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ShowSizeTest, ShowAndTargetSizes) {
    const SizeCase& c = GetParam();
    const Project p = MakeProject(c.slides, c.fit, c.mode, c.fitWidth, c.fitHeight);
    const ShowSize show = GetShowSize(p);
    EXPECT_EQ(show.W, c.show.W);
    EXPECT_EQ(show.H, c.show.H);
    for (std::size_t i = 0; i < c.targets.size(); ++i) {
        EXPECT_EQ(TargetWidth(p, i), c.targets[i].w) << "slide " << i;
        EXPECT_EQ(TargetHeight(p, i), c.targets[i].h) << "slide " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ShowSizeTest,
    ::testing::Values(
        SizeCase{"NotFittedKeepsSizes",
                 {{800, 600}, {640, 900}},
                 false,
                 2,
                 "600",
                 "450",
                 {800, 900},
                 {{800, 600}, {640, 900}}},
        SizeCase{"SmallestPicture",
                 {{800, 600}, {640, 900}},
                 true,
                 0,
                 "600",
                 "450",
                 {640, 600},
                 {{640, 480}, {427, 600}}},
        SizeCase{"LargestPicture",
                 {{800, 600}, {640, 900}},
                 true,
                 1,
                 "600",
                 "450",
                 {800, 900},
                 {{800, 600}, {640, 900}}},
        SizeCase{"FixedEnlarges", {{300, 200}}, true, 2, "600", "450", {600, 450}, {{600, 400}}},
        SizeCase{"ExactRatioFillsBox",
                 {{400, 300}, {1600, 1200}},
                 true,
                 2,
                 "800",
                 "600",
                 {800, 600},
                 {{800, 600}, {800, 600}}},
        // 33 / (48 / 40) is 27.4999... in extended precision; double would give 28.
        SizeCase{"ExtendedPrecision", {{48, 33}}, true, 2, "40", "40", {40, 40}, {{40, 27}}},
        SizeCase{"HeightLimits", {{33, 48}}, true, 2, "40", "40", {40, 40}, {{27, 40}}},
        SizeCase{"OnePixelSource",
                 {{1, 1}, {1, 300}},
                 true,
                 2,
                 "600",
                 "450",
                 {600, 450},
                 {{450, 450}, {2, 450}}},
        SizeCase{"ZeroFieldsBecomeOne", {{800, 600}}, true, 2, "0", "", {1, 1}, {{1, 1}}},
        SizeCase{"HugeFieldsAreLimited",
                 {{800, 600}},
                 true,
                 2,
                 "99999999999999999999",
                 "10",
                 {65500, 10},
                 {{13, 10}}},
        SizeCase{"UnmeasuredSlideFillsBox",
                 {{0, 0}, {800, 600}},
                 true,
                 2,
                 "600",
                 "450",
                 {600, 450},
                 {{600, 450}, {600, 450}}},
        SizeCase{"UnmeasuredSlideNotFitted", {{0, 0}}, false, 0, "600", "450", {1, 1}, {{1, 1}}},
        // Sizes from a hostile project file: the stage stays within 1 .. 65500.
        SizeCase{"StoredSizesBeyondEveryLimit",
                 {{-2147483647 - 1, 2147483647}},
                 false,
                 0,
                 "1",
                 "1",
                 {1, 65500},
                 {{1, 65500}}},
        SizeCase{"SmallestOfHostileSizes",
                 {{-5, 2147483647}, {7, 9}},
                 true,
                 0,
                 "1",
                 "1",
                 {1, 9},
                 {{1, 9}, {1, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlainOutputName, ReplacesOnlyTheExtension) {
    EXPECT_EQ(PlainOutputName("/home/u/Pictures/Holiday.png"), "Holiday.jpg");
    EXPECT_EQ(PlainOutputName("/a/b/Sea.Side.JPEG"), "Sea.Side.jpg");
    EXPECT_EQ(PlainOutputName("/a/noext"), "noext.jpg");
    EXPECT_EQ(PlainOutputName("rel/x.tif"), "x.jpg");
}

}  // namespace
}  // namespace lumetra
