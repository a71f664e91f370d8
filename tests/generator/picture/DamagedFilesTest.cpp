// Pictures cut short or damaged, as an interrupted download or copy leaves
// them, go through the whole conversion (decode, resample, encode into
// memory): each either converts or is refused with PictureError, and the
// encoder's memory is handled right whichever way the decoding ends (the
// sanitizer run checks that).

#include <gtest/gtest.h>

#include <functional>

#include "PictureFixtures.h"
#include "app/Project.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/ImagePreparation.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"
#include "support/AppFixture.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

struct Sample {
    const char* name;
    PictureFormat format;
    std::function<test::Bytes(const Bitmap&)> make;
};

const Sample kSamples[] = {
    {"baseline.jpg", PictureFormat::Jpeg, [](const Bitmap& b) { return test::MakeJpeg(b); }},
    {"progressive.jpg", PictureFormat::Jpeg,
     [](const Bitmap& b) {
         return test::MakeJpeg(b, {95, 0, {}, true});
     }},
    {"turned.jpg", PictureFormat::Jpeg,
     [](const Bitmap& b) {
         return test::MakeJpeg(b, {95, 6, {}});
     }},
    {"plain.png", PictureFormat::Png, [](const Bitmap& b) { return test::MakePngRgb(b); }},
    {"profile.png", PictureFormat::Png,
     [](const Bitmap& b) { return test::MakePngWithProfile(b, test::WideGamutProfile()); }},
    {"plain.tif", PictureFormat::Tiff, [](const Bitmap& b) { return test::MakeTiff(b); }},
    {"turned.tif", PictureFormat::Tiff,
     [](const Bitmap& b) {
         return test::MakeTiff(b, {8, {}, true});
     }},
    {"plain.bmp", PictureFormat::Bmp, [](const Bitmap& b) { return test::MakeBmp24(b); }},
    {"plain.gif", PictureFormat::Gif,
     [](const Bitmap& b) {
         test::Bytes indices(std::size_t(b.width) * b.height);
         for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = b.pixels[i * 3] >> 4;
         test::Bytes palette;
         for (int i = 0; i < 16; ++i) palette.insert(palette.end(), {std::uint8_t(i * 16), 0, 0});
         return test::MakeGif(b.width, b.height, indices, palette);
     }},
};

// Converts, and checks that a result is a JPEG of the asked size.
void ConvertOrRefuse(const Sample& sample, const test::Bytes& bytes, const std::string& what) {
    SCOPED_TRACE(std::string(sample.name) + " " + what);
    try {
        const std::vector<std::uint8_t> jpeg = ConvertPictureToJpeg(sample.format, bytes, 200, 150);
        const Bitmap out = DecodeJpeg(jpeg).bitmap;
        EXPECT_EQ(out.width, 200);
        EXPECT_EQ(out.height, 150);
    } catch (const PictureError&) {
    }
}

TEST(DamagedFiles, EveryPrefixConvertsOrIsRefused) {
    // Noise compresses badly, so the encoder's buffer grows before a cut is met.
    const Bitmap picture = test::PatternBitmap(400, 300, 7);
    for (const Sample& sample : kSamples) {
        const test::Bytes whole = sample.make(picture);
        constexpr std::size_t kCuts = 48;
        for (std::size_t k = 0; k < kCuts; ++k) {
            const std::size_t length = whole.size() * k / kCuts;
            ConvertOrRefuse(sample, test::Bytes(whole.begin(), whole.begin() + length),
                            "cut at " + std::to_string(length));
        }
    }
}

TEST(DamagedFiles, OneDamagedByteConvertsOrIsRefused) {
    const Bitmap picture = test::PatternBitmap(400, 300, 8);
    for (const Sample& sample : kSamples) {
        const test::Bytes whole = sample.make(picture);
        for (const std::size_t at : {whole.size() / 3, whole.size() / 2, whole.size() * 4 / 5}) {
            for (const std::uint8_t flip : {0x01, 0x80, 0xFF}) {
                test::Bytes damaged = whole;
                damaged[at] ^= flip;
                ConvertOrRefuse(sample, damaged, "byte " + std::to_string(at));
            }
        }
    }
}

class DamagedSlides : public test::AppFixture {};

// The case that brought the program down: a good picture and the first half
// of a PNG, converted by the workers together.
TEST_F(DamagedSlides, HalfAPngBesideAGoodPictureYieldsAnEmptyFileAndAMessage) {
    useLanguage(test::kPictureLanguage);
    const Bitmap picture = test::PatternBitmap(600, 400, 9);
    const test::Bytes png = test::MakePngRgb(picture);
    dir.write("src/good.jpg", "");
    test::WriteBytes(dir / "src/good.jpg", test::MakeJpeg(picture));
    test::WriteBytes(dir / "src/trunc.png", test::Bytes(png.begin(), png.begin() + png.size() / 2));
    for (const char* name : {"good.jpg", "trunc.png", "good.jpg", "trunc.png"}) {
        recImgItems slide;
        slide.FileName = (dir / "src" / name).string();
        slide.ImgWidth = 600, slide.ImgHeight = 400;
        app.project.ImgItems.push_back(slide);
    }
    fs::create_directories(dir / "out");
    const auto paths = ConvertSlideImages(app.project, app.language, dir / "out",
                                          {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, nullptr);
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_GT(fs::file_size(paths[0]), 1000u);
    EXPECT_EQ(fs::file_size(paths[1]), 0u);
    EXPECT_EQ(services.messages.size(), 2u);
}

}  // namespace
}  // namespace lumetra
