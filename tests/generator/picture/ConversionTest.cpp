#include <system_error>

#include <gtest/gtest.h>

#include "PictureFixtures.h"
#include "app/Application.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/ImagePreparation.h"
#include "generator/picture/JpegWriter.h"
#include "generator/picture/PictureReading.h"
#include "generator/picture/Resampler.h"
#include "support/AppFixture.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class ConversionTest : public test::AppFixture {
  protected:
    fs::path out;

    void SetUp() override {
        useLanguage(test::kPictureLanguage);
        out = dir / "out";
        fs::create_directories(out);
    }

    // Adds a slide whose size is what the add command would have measured.
    std::string addSlide(const std::string& name, const test::Bytes& bytes, int w, int h) {
        const fs::path p = dir / "src" / name;
        fs::create_directories(p.parent_path());
        test::WriteBytes(p, bytes);
        recImgItems item;
        item.FileName = p.string();
        item.ImgWidth = w;
        item.ImgHeight = h;
        app.project.ImgItems.push_back(item);
        return p.string();
    }

    void fit(const std::string& w, const std::string& h) {
        app.project.Settings.FitImages = true;
        app.project.Settings.FitMode = 2;
        app.project.Settings.FitWidth = w;
        app.project.Settings.FitHeight = h;
    }
};

TEST_F(ConversionTest, WritesTheResampledPictureAsJpeg) {
    const Bitmap source = test::PatternBitmap(300, 200);
    addSlide("Holiday.png", test::MakePngRgb(source), 300, 200);
    fit("150", "150");
    const fs::path path = ConvertSlideImage(app.project, app.language, 0, out, "Holiday.jpg");
    EXPECT_EQ(path, out / "Holiday.jpg");
    const test::Bytes jpeg = test::ReadBytes(path);
    // Baseline (SOF0), not progressive.
    ASSERT_GT(jpeg.size(), 100u);
    const std::vector<std::uint8_t> sof0 = {0xFF, 0xC0};
    EXPECT_NE(std::search(jpeg.begin(), jpeg.end(), sof0.begin(), sof0.end()), jpeg.end());
    const Bitmap got = DecodeJpeg(jpeg).bitmap;
    const Bitmap want = Resample(source, 150, 100);
    ASSERT_EQ(got.width, 150);
    ASSERT_EQ(got.height, 100);
    // Quality 100: only the JPEG rounding and 4:2:0 chroma remain.
    double error = 0;
    for (std::size_t i = 0; i < got.pixels.size(); ++i)
        error += std::abs(int(got.pixels[i]) - int(want.pixels[i]));
    EXPECT_LT(error / double(got.pixels.size()), 12.0);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(ConversionTest, FailureRules) {
    const std::string bad = addSlide("bad.jpg", {0xFF, 0xD8, 0xFF, 0x00}, 105, 105);
    addSlide("layers.psd", {1, 2, 3}, 105, 105);
    test::WriteBytes(out / "bad.jpg", {1, 2, 3, 4});  // replaced, not appended to

    EXPECT_EQ(ConvertSlideImage(app.project, app.language, 0, out, "bad.jpg"), out / "bad.jpg");
    EXPECT_EQ(fs::file_size(out / "bad.jpg"), 0u);
    ASSERT_EQ(services.texts(), std::vector<std::string>{"Cannot open " + bad + "."});
    EXPECT_EQ(services.messages[0].flags, 16);

    // An unsupported type yields an empty file without a message.
    EXPECT_EQ(ConvertSlideImage(app.project, app.language, 1, out, "layers.jpg"),
              out / "layers.jpg");
    EXPECT_EQ(fs::file_size(out / "layers.jpg"), 0u);
    EXPECT_EQ(services.messages.size(), 1u);

    // A folder that does not exist is a write error for the caller.
    EXPECT_THROW(ConvertSlideImage(app.project, app.language, 0, dir / "nowhere", "bad.jpg"),
                 std::system_error);
}

TEST_F(ConversionTest, ParallelConversionKeepsSlideOrder) {
    const std::vector<std::string> names = {"a.jpg", "bad1.jpg", "c.jpg", "bad2.jpg",
                                            "a.jpg", "f.jpg",    "c.jpg"};
    addSlide("a.png", test::MakePngRgb(test::PatternBitmap(320, 240, 1)), 320, 240);
    const std::string bad1 = addSlide("bad1.gif", {'G', 'I', 'F'}, 105, 105);
    addSlide("c.jpg", test::MakeJpeg(test::PatternBitmap(200, 300, 2)), 200, 300);
    const std::string bad2 = addSlide("bad2.tif", {'I', 'I', 42, 0}, 105, 105);
    addSlide("a.jpg", test::MakeJpeg(test::PatternBitmap(64, 64, 3)), 64, 64);  // same output name
    addSlide("f.bmp", {'B', 'M'}, 105, 105);
    addSlide("c.gif", {0}, 105, 105);  // the later, unreadable one decides c.jpg
    app.project.Settings.FitImages = true;
    app.project.Settings.FitMode = 1;
    app.project.MaxImgWidth = 320, app.project.MaxImgHeight = 300;

    std::vector<std::size_t> progress;
    const auto paths =
        ConvertSlideImages(app.project, app.language, out, names, [&](std::size_t done) {
            // Each message is shown before the progress of its slide.
            progress.push_back(done);
            EXPECT_EQ(services.messages.size(), done <= 1   ? 0u
                                                : done <= 3 ? 1u
                                                : done <= 5 ? 2u
                                                : done <= 6 ? 3u
                                                            : 4u);
        });
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7}));
    ASSERT_EQ(paths.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(paths[i], out / names[i]);
    ASSERT_EQ(services.messages.size(), 4u);
    EXPECT_EQ(services.messages[0].text, "Cannot open " + bad1 + ".");
    EXPECT_EQ(services.messages[1].text, "Cannot open " + bad2 + ".");
    // a.jpg holds the later slide's 64 x 64 picture fitted into 320 x 300.
    const Bitmap a = DecodeJpeg(test::ReadBytes(out / "a.jpg")).bitmap;
    EXPECT_EQ(a.width, 300);
    EXPECT_EQ(a.height, 300);
    EXPECT_EQ(fs::file_size(out / "c.jpg"), 0u);
    EXPECT_EQ(fs::file_size(out / "f.jpg"), 0u);
}

TEST_F(ConversionTest, ParallelWriteErrorReachesTheCaller) {
    addSlide("a.png", test::MakePngRgb(test::PatternBitmap(32, 32)), 32, 32);
    addSlide("b.png", test::MakePngRgb(test::PatternBitmap(32, 32)), 32, 32);
    EXPECT_THROW(
        ConvertSlideImages(app.project, app.language, dir / "missing", {"a.jpg", "b.jpg"}, nullptr),
        std::system_error);
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

std::vector<std::uint8_t> Encode(const Bitmap& b) {
    JpegWriter writer(b.width, b.height);
    for (int y = 0; y < b.height; ++y) writer.writeRow(b.row(y));
    return writer.finish();
}

// The streamed conversion (rows straight from the decoder, turned pictures
// read upright from the stored pixels) gives exactly the file that resampling
// the whole decoded picture gives.
TEST(StreamedConversion, EqualsConvertingTheWholePicture) {
    test::TestFolder dir;
    const Bitmap stored = test::PatternBitmap(90, 61, 4);
    std::vector<fs::path> files;
    for (int n = 1; n <= 8; ++n) {
        files.push_back(dir / ("t" + std::to_string(n) + ".tif"));
        test::WriteBytes(files.back(), test::MakeTiff(stored, test::TiffOptions{n, {}, false}));
        files.push_back(dir / ("j" + std::to_string(n) + ".jpg"));
        test::WriteBytes(files.back(), test::MakeJpeg(stored, test::JpegOptions{90, n, {}}));
    }
    files.push_back(dir / "p.png");
    test::WriteBytes(files.back(), test::MakePngRgb(stored));
    files.push_back(dir / "w.jpg");
    test::WriteBytes(files.back(),
                     test::MakeJpeg(stored, test::JpegOptions{90, 0, test::WideGamutProfile()}));
    for (const fs::path& f : files) {
        const Bitmap whole = ReadPicture(f.string());
        for (auto [tw, th] : {std::pair{whole.width, whole.height}, {40, 37}, {200, 150}}) {
            EXPECT_EQ(ConvertToJpeg(f.string(), tw, th), Encode(Resample(whole, tw, th)))
                << f.filename() << " " << tw << "x" << th;
        }
    }
}

}  // namespace
}  // namespace lumetra
