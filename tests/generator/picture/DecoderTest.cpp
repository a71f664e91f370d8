#include <cstring>

#include <gtest/gtest.h>
#include <lcms2.h>

#include "PictureFixtures.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

using test::Bytes;

// The 3 x 2 picture every bitmap variant below encodes (top row first).
const std::uint8_t kColors[6][3] = {{255, 0, 0},     {0, 255, 0}, {0, 0, 255},
                                    {255, 255, 255}, {0, 0, 0},   {10, 20, 30}};

Bitmap Expected3x2() {
    Bitmap b(3, 2);
    for (int i = 0; i < 6; ++i) std::memcpy(&b.pixels[std::size_t(i) * 3], kColors[i], 3);
    return b;
}

void Put16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v)), b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF), Put16(b, v >> 16);
}

struct BmpSpec {
    int bpp;
    std::uint32_t compression = 0;
    bool topDown = false;
    std::vector<std::uint32_t> masks;  // written after a 40-byte header
    Bytes palette;                     // BGRA entries
    Bytes pixels;                      // stored rows
};

Bytes MakeBmp(const BmpSpec& s) {
    const std::uint32_t offset = std::uint32_t(14 + 40 + s.masks.size() * 4 + s.palette.size());
    Bytes b = {'B', 'M'};
    Put32(b, offset + std::uint32_t(s.pixels.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, 3);
    Put32(b, s.topDown ? std::uint32_t(-2) : 2);
    Put16(b, 1);
    Put16(b, unsigned(s.bpp));
    Put32(b, s.compression);
    Put32(b, std::uint32_t(s.pixels.size()));
    Put32(b, 2835), Put32(b, 2835), Put32(b, std::uint32_t(s.palette.size() / 4)), Put32(b, 0);
    for (auto m : s.masks) Put32(b, m);
    b.insert(b.end(), s.palette.begin(), s.palette.end());
    b.insert(b.end(), s.pixels.begin(), s.pixels.end());
    return b;
}

Bytes SixColorPalette() {
    Bytes p;
    for (auto& c : kColors) p.insert(p.end(), {c[2], c[1], c[0], 0});
    return p;
}

Bytes Rows24(bool topDown) {
    Bytes px;
    for (int r = 0; r < 2; ++r) {
        const int y = topDown ? r : 1 - r;
        for (int x = 0; x < 3; ++x) {
            const auto* c = kColors[y * 3 + x];
            px.insert(px.end(), {c[2], c[1], c[0]});
        }
        px.insert(px.end(), {0, 0, 0});  // rows are padded to 4 bytes
    }
    return px;
}

struct BmpCase {
    const char* name;
    BmpSpec spec;
    int tolerance = 0;  // 16-bit pixels cannot hold every 8-bit value
};

class BmpVariants : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpVariants, DecodeToTheSamePicture) {
    const Bytes file = MakeBmp(GetParam().spec);
    const Bitmap got = DecodeBmp(file).bitmap, want = Expected3x2();
    ASSERT_EQ(got.pixels.size(), want.pixels.size());
    for (std::size_t i = 0; i < got.pixels.size(); ++i)
        EXPECT_NEAR(got.pixels[i], want.pixels[i], GetParam().tolerance) << i;
}

std::uint32_t Pack(const std::uint8_t* c, int rBits, int gBits, int bBits) {
    auto scale = [](int v, int bits) { return std::uint32_t(v * ((1 << bits) - 1) / 255); };
    return scale(c[0], rBits) << (gBits + bBits) | scale(c[1], gBits) << bBits | scale(c[2], bBits);
}

Bytes Rows16(int rBits, int gBits) {
    Bytes px;
    for (int y : {1, 0}) {
        for (int x = 0; x < 3; ++x) Put16(px, Pack(kColors[y * 3 + x], rBits, gBits, 5));
        Put16(px, 0);
    }
    return px;
}

Bytes Rows32(std::uint8_t alpha) {
    Bytes px;
    for (int y : {1, 0})
        for (int x = 0; x < 3; ++x) {
            const auto* c = kColors[y * 3 + x];
            px.insert(px.end(), {c[2], c[1], c[0], alpha});
        }
    return px;
}

INSTANTIATE_TEST_SUITE_P(
    Bitmaps, BmpVariants,
    ::testing::Values(
        BmpCase{"Rgb24BottomUp", {24, 0, false, {}, {}, Rows24(false)}},
        BmpCase{"Rgb24TopDown", {24, 0, true, {}, {}, Rows24(true)}},
        BmpCase{"Palette8", {8, 0, false, {}, SixColorPalette(), {3, 4, 5, 0, 0, 1, 2, 0}}},
        BmpCase{"Palette4",
                {4, 0, false, {}, SixColorPalette(), {0x34, 0x50, 0, 0, 0x01, 0x20, 0, 0}}},
        BmpCase{"Rle8",
                {8,
                 1,
                 false,
                 {},
                 SixColorPalette(),
                 {0, 3, 3, 4, 5, 0, 0, 0, 1, 0, 1, 1, 1, 2, 0, 0, 0, 1}}},
        BmpCase{"Rle4",
                {4,
                 2,
                 false,
                 {},
                 SixColorPalette(),
                 {1, 0x30, 2, 0x45, 0, 0, 0, 3, 0x01, 0x20, 0, 0, 0, 1}}},
        BmpCase{"Fields565", {16, 3, false, {0xF800, 0x07E0, 0x001F}, {}, Rows16(5, 6)}, 8},
        BmpCase{"Default555", {16, 0, false, {}, {}, Rows16(5, 5)}, 8},
        BmpCase{"Rgb32UnusedByte", {32, 0, false, {}, {}, Rows32(0)}},
        BmpCase{"Fields32", {32, 3, false, {0xFF0000, 0xFF00, 0xFF}, {}, Rows32(0x55)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BmpDecoder, OneBitPaletteAndTransparency) {
    // 1 bit: rows of 3 pixels black, white, black over white, black, white.
    BmpSpec spec{1, 0, false, {}, {0, 0, 0, 0, 255, 255, 255, 0}, {0x40, 0, 0, 0, 0xA0, 0, 0, 0}};
    const Bitmap b = DecodeBmp(MakeBmp(spec)).bitmap;
    EXPECT_EQ(b.row(0)[0], 255);
    EXPECT_EQ(b.row(0)[3], 0);
    EXPECT_EQ(b.row(1)[3], 255);
    EXPECT_EQ(b.row(1)[0], 0);
    // 32 bits with an alpha byte in use: alpha 0 is white, opaque pixels stay.
    Bytes px = Rows32(0);
    px[3] = 255;
    const Bitmap a = DecodeBmp(MakeBmp({32, 0, false, {}, {}, px})).bitmap;
    EXPECT_EQ(std::vector<std::uint8_t>(a.row(1), a.row(1) + 3),
              (std::vector<std::uint8_t>{255, 255, 255}));
    EXPECT_EQ(std::vector<std::uint8_t>(a.row(1) + 3, a.row(1) + 9),
              (std::vector<std::uint8_t>{255, 255, 255, 255, 255, 255}));
}

TEST(BmpDecoder, RefusesDamagedFiles) {
    const Bytes good = MakeBmp({24, 0, false, {}, {}, Rows24(false)});
    for (std::size_t cut : {0, 10, 20, 40, 60, 70}) {
        EXPECT_THROW(DecodeBmp(Bytes(good.begin(), good.begin() + long(cut))), PictureError) << cut;
    }
    Bytes huge = good;
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF;  // 16M pixels wide, no data
    EXPECT_THROW(DecodeBmp(huge), PictureError);
}

TEST(Decoders, LosslessFormatsKeepEveryPixel) {
    const Bitmap pattern = test::PatternBitmap(37, 23);
    EXPECT_EQ(DecodePng(test::MakePngRgb(pattern)).bitmap.pixels, pattern.pixels);
    EXPECT_EQ(DecodeTiff(test::MakeTiff(pattern)).bitmap.pixels, pattern.pixels);
}

TEST(Decoders, JpegDecodesCloseToItsSource) {
    const Bitmap quad = test::QuadrantBitmap(64, 32);
    const Bitmap b = DecodeJpeg(test::MakeJpeg(quad)).bitmap;
    ASSERT_EQ(b.width, 64);
    ASSERT_EQ(b.height, 32);
    // Away from the edges, where 4:2:0 chroma blurs the colours.
    for (int y : {8, 24})
        for (int x : {8, 56})
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(b.row(y)[x * 3 + c], quad.row(y)[x * 3 + c], 12);
    EXPECT_EQ(DecodeJpeg(test::MakeJpeg(test::PatternBitmap(100, 80)), 4).bitmap.width, 25);
}

TEST(Decoders, TransparencyIsWhite) {
    // PNG: transparent, half and opaque pixels.
    const Bytes rgba = {0, 0, 0, 0, 0, 0, 0, 128, 10, 20, 30, 255};
    const Bitmap png = DecodePng(test::MakePng(3, 1, rgba)).bitmap;
    EXPECT_EQ(png.pixels, (std::vector<std::uint8_t>{255, 255, 255, 127, 127, 127, 10, 20, 30}));
    // GIF: index 1 is transparent.
    const Bitmap gif =
        DecodeGif(test::MakeGif(3, 1, {0, 1, 2}, {1, 2, 3, 200, 0, 0, 7, 8, 9}, 1)).bitmap;
    EXPECT_EQ(gif.pixels, (std::vector<std::uint8_t>{1, 2, 3, 255, 255, 255, 7, 8, 9}));
    // TIFF with unassociated alpha of 128 over black: half grey.
    Bitmap black(2, 2);
    const Bitmap tif = DecodeTiff(test::MakeTiff(black, test::TiffOptions{1, {}, true})).bitmap;
    for (auto v : tif.pixels) EXPECT_NEAR(v, 127, 1);
}

// Where stored pixel (sx, sy) belongs once orientation n is applied, as EXIF defines it.
std::pair<int, int> UprightPosition(int n, int sx, int sy, int sw, int sh) {
    switch (n) {
        case 2:
            return {sw - 1 - sx, sy};
        case 3:
            return {sw - 1 - sx, sh - 1 - sy};
        case 4:
            return {sx, sh - 1 - sy};
        case 5:
            return {sy, sx};
        case 6:
            return {sh - 1 - sy, sx};
        case 7:
            return {sh - 1 - sy, sw - 1 - sx};
        case 8:
            return {sy, sw - 1 - sx};
        default:
            return {sx, sy};
    }
}

Bitmap UprightOf(const Bitmap& stored, int n) {
    Bitmap out = n >= 5 ? Bitmap(stored.height, stored.width) : Bitmap(stored.width, stored.height);
    for (int y = 0; y < stored.height; ++y)
        for (int x = 0; x < stored.width; ++x) {
            auto [ux, uy] = UprightPosition(n, x, y, stored.width, stored.height);
            std::memcpy(out.row(uy) + ux * 3, stored.row(y) + x * 3, 3);
        }
    return out;
}

class Orientations : public ::testing::TestWithParam<int> {};

TEST_P(Orientations, TiffComesOutUpright) {
    const int n = GetParam();
    const Bitmap stored = test::PatternBitmap(7, 4, unsigned(n));
    test::TestFolder dir;
    const auto path = dir / "p.tif";
    test::WriteBytes(path, test::MakeTiff(stored, test::TiffOptions{n, {}, false}));
    EXPECT_EQ(ReadPicture(path.string()).pixels, UprightOf(stored, n).pixels);
}

TEST_P(Orientations, JpegExifComesOutUpright) {
    const int n = GetParam();
    const Bitmap stored = test::QuadrantBitmap(64, 32);
    test::TestFolder dir;
    const auto path = dir / "p.jpg";
    test::WriteBytes(path, test::MakeJpeg(stored, test::JpegOptions{95, n, {}}));
    const Bitmap got = ReadPicture(path.string());
    const Bitmap want = UprightOf(stored, n);
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    for (int y : {4, want.height - 5})
        for (int x : {4, want.width - 5})
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(got.row(y)[x * 3 + c], want.row(y)[x * 3 + c], 24) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Exif, Orientations, ::testing::Range(1, 9));

TEST(ColorProfiles, WideGamutIsConvertedAndSrgbIsUntouched) {
    const Bitmap pattern = test::PatternBitmap(16, 8);
    test::TestFolder dir;
    test::WriteBytes(dir / "srgb.tif", test::MakeTiff(pattern, {1, test::SrgbProfile()}));
    EXPECT_EQ(ReadPicture((dir / "srgb.tif").string()).pixels, pattern.pixels);

    const Bytes wide = test::WideGamutProfile();
    test::WriteBytes(dir / "wide.tif", test::MakeTiff(pattern, {1, wide}));
    const Bitmap got = ReadPicture((dir / "wide.tif").string());
    // What LittleCMS itself makes of the pixels.
    cmsHPROFILE in = cmsOpenProfileFromMem(wide.data(), cmsUInt32Number(wide.size()));
    cmsHPROFILE out = cmsCreate_sRGBProfile();
    cmsHTRANSFORM t = cmsCreateTransform(in, TYPE_RGB_8, out, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    std::vector<std::uint8_t> want(pattern.pixels.size());
    cmsDoTransform(t, pattern.pixels.data(), want.data(), cmsUInt32Number(16 * 8));
    cmsDeleteTransform(t), cmsCloseProfile(in), cmsCloseProfile(out);
    EXPECT_EQ(got.pixels, want);
    EXPECT_NE(got.pixels, pattern.pixels);
    // PNG keeps its profile in an iCCP chunk, which the decoder must still read
    // while it skips the other ancillary chunks.
    test::WriteBytes(dir / "wide.png", test::MakePngWithProfile(pattern, wide));
    EXPECT_EQ(ReadPicture((dir / "wide.png").string()).pixels, want);
    // A saturated green of the wide space lies outside sRGB: red drops to 0.
    Bitmap green(1, 1);
    green.pixels = {0, 255, 0};
    test::WriteBytes(dir / "green.jpg", test::MakeJpeg(green, {100, 0, wide}));
    EXPECT_EQ(ReadPicture((dir / "green.jpg").string()).pixels[0], 0);
}

TEST(Decoders, DamagedInputIsRefusedNotFatal) {
    const Bytes jpeg = test::MakeJpeg(test::PatternBitmap(40, 30));
    const Bytes png = test::MakePngRgb(test::PatternBitmap(40, 30));
    const Bytes tif = test::MakeTiff(test::PatternBitmap(40, 30));
    const Bytes gif = test::MakeGif(2, 2, {0, 1, 1, 0}, {0, 0, 0, 255, 255, 255});
    for (PictureFormat f : {PictureFormat::Jpeg, PictureFormat::Png, PictureFormat::Tiff,
                            PictureFormat::Gif, PictureFormat::Bmp}) {
        for (const Bytes& b : {Bytes{}, Bytes{1, 2, 3}, Bytes(100, 0xFF)})
            EXPECT_THROW(DecodePicture(f, b), PictureError);
    }
    // Cut short: either refused or decoded at full size, never anything else.
    for (auto [f, b] : {std::pair{PictureFormat::Jpeg, jpeg},
                        {PictureFormat::Png, png},
                        {PictureFormat::Tiff, tif},
                        {PictureFormat::Gif, gif}}) {
        for (std::size_t cut = 1; cut < b.size(); cut += 7) {
            try {
                const Bitmap got = DecodePicture(f, Bytes(b.begin(), b.begin() + long(cut))).bitmap;
                EXPECT_FALSE(got.empty());
            } catch (const PictureError&) {
            }
        }
    }
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

// Seeds of the fuzzers made by other writers: CMYK (Adobe, inverted), grey,
// progressive, and a turned picture.
TEST(Decoders, PngMustStartWithItsHeader) {
    // A skippable chunk before IHDR: the decoder and the size reader both refuse it.
    const Bytes png = test::MakePngRgb(test::PatternBitmap(9, 7));
    Bytes early(png.begin(), png.begin() + 8);
    const Bytes gamma = {0, 0, 0, 4, 'g', 'A', 'M', 'A', 0, 1, 0x86, 0xA0, 1, 2, 3, 4};
    early.insert(early.end(), gamma.begin(), gamma.end());
    early.insert(early.end(), png.begin() + 8, png.end());
    EXPECT_THROW(DecodePicture(PictureFormat::Png, early), PictureError);
    EXPECT_THROW(ReadUprightSize(PictureFormat::Png, early), PictureError);
    EXPECT_EQ(DecodePicture(PictureFormat::Png, png).bitmap.width, 9);
}

TEST(Decoders, JpegVariantsFromOtherWriters) {
    const auto seed = [](const char* name) {
        return (std::filesystem::path(LUMETRA_SOURCE_DIR) / "tests/fuzz/corpus/picture_jpeg" / name)
            .string();
    };
    const Bitmap cmyk = ReadPicture(seed("cmyk.jpg"));
    EXPECT_GT(cmyk.pixels[0], 230);  // the gradient starts red
    EXPECT_LT(cmyk.pixels[1], 25);
    EXPECT_LT(cmyk.pixels[2], 25);
    const Bitmap gray = ReadPicture(seed("gray.jpg"));
    EXPECT_EQ(gray.pixels[0], gray.pixels[1]);
    EXPECT_EQ(gray.pixels[1], gray.pixels[2]);
    const Bitmap progressive = ReadPicture(seed("progressive.jpg"));
    EXPECT_EQ(progressive.width, 16);
    const Bitmap turned = ReadPicture(seed("exif6.jpg"));
    EXPECT_EQ(turned.width, 12);
    EXPECT_EQ(turned.height, 16);
}

}  // namespace
}  // namespace lumetra
