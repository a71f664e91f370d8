#pragma once
// The decoders, one per supported file type. Each reads a whole file held in
// memory and throws PictureError on anything it cannot read; none of them
// allocates more than the decode limits allow.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "generator/picture/Bitmap.h"

namespace lumetra {

using ByteSpan = std::span<const std::uint8_t>;

enum class PictureFormat { Unsupported, Jpeg, Png, Bmp, Gif, Tiff };

// Chosen by the lower-cased extension of the file name only.
PictureFormat FormatOfPath(const std::string& path);

// A picture as stored: its pixels in stored order, how they must be turned to
// stand upright (EXIF/TIFF orientation 1..8) and its embedded ICC profile.
struct DecodedPicture {
    Bitmap bitmap;
    int orientation = 1;
    std::vector<std::uint8_t> iccProfile;
};

// What a header tells without decoding the pixels.
struct PictureHeader {
    int width = 0;  // stored size, before the orientation is applied
    int height = 0;
    int orientation = 1;
};

// scaleDenom 1, 2, 4 or 8: JPEG's reduced-size decoding.
DecodedPicture DecodeJpeg(ByteSpan data, int scaleDenom = 1);
DecodedPicture DecodePng(ByteSpan data);
DecodedPicture DecodeGif(ByteSpan data);
DecodedPicture DecodeTiff(ByteSpan data);
DecodedPicture DecodeBmp(ByteSpan data);

DecodedPicture DecodePicture(PictureFormat format, ByteSpan data);

// Header of a picture (size and orientation) without decoding the pixels.
PictureHeader ReadJpegHeader(ByteSpan data);
PictureHeader ReadTiffHeader(ByteSpan data);
PictureHeader ReadGifHeader(ByteSpan data);  // also checks the decode limits
PictureHeader ReadBmpHeader(ByteSpan data);  // also checks the decode limits

// Orientation stored in an EXIF block ("Exif\0\0" + TIFF structure); 1 when absent or invalid.
int ExifOrientation(ByteSpan exifBlock);

}  // namespace lumetra
