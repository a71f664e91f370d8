#include <gtest/gtest.h>
#include <sys/stat.h>

#include "PictureFixtures.h"
#include "app/Application.h"
#include "generator/picture/Picture.h"
#include "generator/picture/PictureReading.h"
#include "support/AppFixture.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class PictureTest : public test::AppFixture {
  protected:
    void SetUp() override { useLanguage(test::kPictureLanguage); }

    std::string file(const std::string& name, const test::Bytes& bytes) {
        const fs::path p = dir / name;
        test::WriteBytes(p, bytes);
        return p.string();
    }
};

struct SizeCase {
    std::string name;
    test::Bytes bytes;
    int width, height;
};

TEST_F(PictureTest, GetImageSizeReadsEveryTypeUpright) {
    const Bitmap p = test::PatternBitmap(30, 20);
    const std::vector<SizeCase> cases = {
        {"a.jpg", test::MakeJpeg(p), 30, 20},
        {"b.JPEG", test::MakeJpeg(p, test::JpegOptions{90, 6, {}}), 20, 30},
        {"c.png", test::MakePngRgb(p), 30, 20},
        {"d.tif", test::MakeTiff(p, test::TiffOptions{8, {}, false}), 20, 30},
        {"e.TIFF", test::MakeTiff(p), 30, 20},
        {"f.gif", test::MakeGif(3, 2, {0, 1, 0, 1, 0, 1}, {0, 0, 0, 9, 9, 9}), 3, 2},
        // Unreadable, unsupported or missing: the fresh area's 105 x 105.
        {"g.jpg", {1, 2, 3}, 105, 105},
        {"h.png", test::MakeJpeg(p), 105, 105},
        {"i.psd", test::MakePngRgb(p), 105, 105},
        {"j.bmp", {}, 105, 105},
    };
    for (const SizeCase& c : cases) {
        const std::string path = file(c.name, c.bytes);
        int h = 0, w = 0;
        EXPECT_TRUE(GetImageSize(path, h, w)) << c.name;
        EXPECT_EQ(w, c.width) << c.name;
        EXPECT_EQ(h, c.height) << c.name;
        // Reading only the header must agree with a full decode.
        if (c.width != 105) {
            const Bitmap full = ReadPicture(path);
            EXPECT_EQ(full.width, w) << c.name;
            EXPECT_EQ(full.height, h) << c.name;
        }
    }
    int h = 0, w = 0;
    EXPECT_TRUE(GetImageSize((dir / "missing.jpg").string(), h, w));
    EXPECT_EQ(w, 105);
    // Not files at all: a pipe would block a plain open forever.
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.png");
    for (const char* name : {"pipe.jpg", "folder.png"}) {
        w = h = 0;
        EXPECT_TRUE(GetImageSize((dir / name).string(), h, w)) << name;
        EXPECT_EQ(w, 105) << name;
        EXPECT_EQ(h, 105) << name;
    }
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PictureTest, LoadPictureFailureRules) {
    Bitmap area(5, 5);
    // Unsupported extension: nothing loaded, nothing said.
    EXPECT_FALSE(LoadPicture(&app.language, area, file("x.psd", {1, 2})));
    EXPECT_TRUE(services.messages.empty());
    // Undecodable: the area is cleared and ImgErr names the file.
    const std::string bad = file("bad.png", {1, 2, 3});
    EXPECT_FALSE(LoadPicture(&app.language, area, bad));
    EXPECT_TRUE(area.empty());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "Cannot open " + bad + ".");
    EXPECT_EQ(services.messages[0].caption, "Lumetra");
    EXPECT_EQ(services.messages[0].flags, 16);
    // Quiet.
    EXPECT_FALSE(LoadPicture(nullptr, area, bad));
    EXPECT_EQ(services.messages.size(), 1u);
    // A pipe with a picture's name fails at once instead of waiting for a writer.
    const fs::path pipe = dir / "pipe.gif";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(LoadPicture(&app.language, area, pipe.string()));
    EXPECT_EQ(services.messages.size(), 2u);
    // A good one.
    EXPECT_TRUE(LoadPicture(&app.language, area,
                            file("ok.gif", test::MakeGif(2, 1, {0, 1}, {1, 1, 1, 2, 2, 2}))));
    EXPECT_EQ(area.width, 2);
}

TEST(ThumbnailScale, FollowsTheRatioOfPictureToArea) {
    struct Case {
        int pw, ph, aw, ah, scale;
    };
    for (const Case& c : std::vector<Case>{{4000, 3000, 201, 196, 8},
                                           {1600, 1200, 201, 196, 4},
                                           {800, 600, 201, 196, 2},
                                           {401, 1000, 201, 196, 1},
                                           {402, 392, 201, 196, 2},
                                           {1608, 1568, 201, 196, 8},
                                           {1607, 1568, 201, 196, 4},
                                           {800, 600, 0, 196, 1}}) {
        EXPECT_EQ(ThumbnailScale(c.pw, c.ph, c.aw, c.ah), c.scale) << c.pw << "x" << c.ph;
    }
}

TEST_F(PictureTest, ThumbnailDecodesJpegAtReducedSizeUpright) {
    const Bitmap p = test::PatternBitmap(800, 600);
    Bitmap area;
    ASSERT_TRUE(LoadPicture(&app.language, area, file("t.jpg", test::MakeJpeg(p)), true, 201, 196));
    EXPECT_EQ(area.width, 400);
    EXPECT_EQ(area.height, 300);
    // Turned: the upright 600 x 800 against the area gives f = 2.
    ASSERT_TRUE(LoadPicture(&app.language, area,
                            file("r.jpg", test::MakeJpeg(p, test::JpegOptions{90, 6, {}})), true,
                            201, 196));
    EXPECT_EQ(area.width, 300);
    EXPECT_EQ(area.height, 400);
    // Without the flag the full size.
    ASSERT_TRUE(
        LoadPicture(&app.language, area, file("t.jpg", test::MakeJpeg(p)), false, 201, 196));
    EXPECT_EQ(area.width, 800);
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

// Headers beyond the first part of a file that is read for the size: a TIFF
// directory written after 360 KB of pixels, a JPEG with 400 KB of metadata.
TEST(GetImageSize, FindsHeadersFarIntoTheFile) {
    test::TestFolder dir;
    const Bitmap p = test::PatternBitmap(400, 300);
    test::WriteBytes(dir / "late.tif", test::MakeTiff(p, test::TiffOptions{6, {}, false}));
    test::WriteBytes(dir / "meta.jpg",
                     test::MakeJpeg(p, test::JpegOptions{80, 8, test::Bytes(400 << 10, 7)}));
    for (const char* name : {"late.tif", "meta.jpg"}) {
        int h = 0, w = 0;
        EXPECT_TRUE(GetImageSize((dir / name).string(), h, w));
        EXPECT_EQ(w, 300) << name;
        EXPECT_EQ(h, 400) << name;
    }
}

}  // namespace
}  // namespace lumetra
