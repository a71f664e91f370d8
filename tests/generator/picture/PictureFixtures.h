#pragma once
// Small pictures of every supported type, made with the codec libraries (or
// byte by byte for bitmaps), for the decoder and conversion tests.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "generator/picture/Bitmap.h"

namespace lumetra::test {

// The texts the picture functions ask for.
inline constexpr const char* kPictureLanguage =
    "[GUI]\nTitle=Lumetra\n[Messages]\nImgErr=Cannot open %1%.\n";

using Bytes = std::vector<std::uint8_t>;

// A picture whose pixels differ everywhere: smooth gradients plus a pattern.
Bitmap PatternBitmap(int width, int height, unsigned seed = 1);
// Four flat quadrants: red top left, green top right, blue bottom left, white bottom right.
Bitmap QuadrantBitmap(int width, int height);

struct JpegOptions {
    int quality = 95;
    int orientation = 0;  // 0: no EXIF block
    Bytes icc;
    bool progressive = false;
};
Bytes MakeJpeg(const Bitmap& bitmap, const JpegOptions& options = {});

// rgba: width * height * 4 bytes, straight alpha.
Bytes MakePng(int width, int height, const Bytes& rgba);
Bytes MakePngRgb(const Bitmap& bitmap);
// An 8-bit RGB PNG carrying an ICC profile (iCCP).
Bytes MakePngWithProfile(const Bitmap& bitmap, const Bytes& icc);

struct TiffOptions {
    int orientation = 1;
    Bytes icc;
    bool alpha = false;  // writes an unassociated alpha channel of 128
};
Bytes MakeTiff(const Bitmap& bitmap, const TiffOptions& options = {});

// A GIF of indexed pixels with the given palette (RGB triples); `transparent` or -1.
Bytes MakeGif(int width, int height, const Bytes& indices, const Bytes& palette,
              int transparent = -1);

// A white TIFF of width x height, PackBits-compressed, written to path
// without ever holding the picture in memory.
void WriteFlatTiff(const std::filesystem::path& path, int width, int height);

// A 24-bit bottom-up Windows bitmap.
Bytes MakeBmp24(const Bitmap& bitmap);

// An ICC profile of a wide-gamut RGB space (Adobe RGB 1998 primaries).
Bytes WideGamutProfile();
Bytes SrgbProfile();

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadBytes(const std::filesystem::path& path);

}  // namespace lumetra::test
